#include "platform/plan/PlanRegistry.h"

#include <algorithm>
#include <array>
#include <set>
#include <utility>

#include "platform/TextMode.h"
#include "platform/SecurityLayout.h"
#include "platform/TextRules.h"

namespace vx::platform::plan {

namespace {

// The A functions convert the path through the thread's 261-character buffer.
constexpr std::size_t kLongestPath = 260;
constexpr std::size_t kLongestName = 256;

constexpr std::uint32_t kKeyNotify = 0x0010;
constexpr std::uint32_t kReadRights =
    kKeyQueryValue | kKeyEnumerateSubKeys | kKeyNotify | kReadControl;
constexpr std::uint32_t kAccessSystemSecurity = 0x01000000;
constexpr std::uint32_t kMaximumAllowed = 0x02000000;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kGenericExecute = 0x20000000;
constexpr std::uint32_t kGenericWrite = 0x40000000;
constexpr std::uint32_t kGenericRead = 0x80000000;

constexpr std::uint32_t kOwnerPart = 1;
constexpr std::uint32_t kGroupPart = 2;
constexpr std::uint32_t kDaclPart = 4;
constexpr std::uint32_t kSaclPart = 8;
constexpr std::array<std::uint32_t, 4> kParts = {kOwnerPart, kGroupPart, kDaclPart, kSaclPart};

constexpr std::uint16_t kSeDaclPresent = 0x0004;
constexpr std::uint16_t kSeSelfRelative = 0x8000;

bool IsPredefined(RegistryHandle handle) {
    return handle >= kClassesRoot && handle <= kDynData && !RootName(handle).empty();
}

bool IsStringType(std::uint32_t type) {
    return type == kRegString || type == kRegExpandString || type == kRegMultiString;
}

// The rights a handle holds for `access`: generic rights mapped as keys map them, view
// flags dropped.
std::uint32_t Granted(std::uint32_t access) {
    std::uint32_t granted =
        access & ~(kKeyWow64_64Key | kKeyWow64_32Key | kMaximumAllowed | kGenericAll |
                   kGenericExecute | kGenericWrite | kGenericRead);
    if ((access & (kGenericRead | kGenericExecute)) != 0) granted |= kKeyRead;
    if ((access & kGenericWrite) != 0) granted |= kKeyWrite;
    if ((access & (kGenericAll | kMaximumAllowed)) != 0) granted |= kKeyAllAccess;
    return granted;
}

std::string Fold(std::string_view utf8Name) { return UpperAscii(utf8Name); }

std::string DescribeDescriptor(const std::string& descriptor) {
    if (descriptor.size() < kDescriptorHeaderSize) return DescribeBytes(descriptor);
    const auto control = static_cast<std::uint16_t>(ReadLe(descriptor, 2, 2));
    const std::size_t offset = ReadLe(descriptor, kDaclOffsetField, 4);
    if ((control & kSeDaclPresent) == 0) return "no DACL";
    if (offset == 0) return "null DACL";
    if (offset >= descriptor.size()) return DescribeBytes(descriptor);
    const auto entries = ReadAcl(std::string_view(descriptor).substr(offset));
    if (!entries) return DescribeBytes(descriptor);
    return "DACL of " + std::to_string(entries->size()) +
           (entries->size() == 1 ? " entry" : " entries");
}

}  // namespace

PlanRegistry::PlanRegistry(Registry& real, ChangeLog& log, bool wow64)
    : real_(real), log_(log), wow64_(wow64) {}

// ---- keys ----------------------------------------------------------------------------

std::string PlanRegistry::place(const Target& target) const {
    std::string text = RootName(target.root);
    if (!target.names.empty()) {
        text += '\\';
        text += JoinKeyPath(target.names);
    }
    return text + ViewSuffix(target.id.view);
}

std::uint32_t PlanRegistry::viewFlag(bool redirected) const {
    if (!wow64_) return 0;
    return redirected ? kKeyWow64_32Key : kKeyWow64_64Key;
}

const PlanRegistry::KeyRecord* PlanRegistry::find(const KeyId& key) const {
    const auto it = keys_.find(key);
    return it == keys_.end() ? nullptr : &it->second;
}

std::uint32_t PlanRegistry::generationOf(const KeyId& key) const {
    const KeyRecord* record = find(key);
    return record == nullptr ? 0 : record->generation;
}

PlanRegistry::Handle& PlanRegistry::rootHandle(RegistryHandle root) {
    const auto [it, added] = roots_.try_emplace(root);
    if (added) {
        Handle& handle = it->second;
        // Without a view flag a 32-bit program's paths below a root are the 32-bit view's.
        handle.target = {root, {}, wow64_, IdentifyKey(root, {}, wow64_, wow64_)};
        handle.granted = Granted(kMaximumAllowed) | kAccessSystemSecurity;
        handle.real = RealKey(real_, root, false);
    }
    return it->second;
}

Status PlanRegistry::use(RegistryHandle key, std::uint32_t needed, Handle*& handle,
                         bool evenDeleted) {
    if (IsPredefined(key)) {
        handle = &rootHandle(key);
        return kSuccess;
    }
    const auto it = handles_.find(key);
    if (it == handles_.end()) return kErrorInvalidHandle;
    if ((it->second.granted & needed) != needed) return kErrorAccessDenied;
    if (!evenDeleted && generationOf(it->second.target.id) != it->second.generation) {
        return kErrorKeyDeleted;
    }
    handle = &it->second;
    return kSuccess;
}

Status PlanRegistry::resolve(RegistryHandle parent, std::string_view subKey, std::uint32_t access,
                             Target& target) {
    Handle* base = nullptr;
    if (const Status status = use(parent, 0, base)) return status;
    if (subKey.size() > kLongestPath) return kErrorMoreData;
    if (!subKey.empty() && subKey.front() == '\\') return kErrorBadPathname;
    target.root = base->target.root;
    target.names = base->target.names;
    for (std::string& name : SplitKeyPath(subKey)) target.names.push_back(std::move(name));
    // KEY_WOW64_64KEY wins over KEY_WOW64_32KEY; without either a path goes on in the view
    // of the key it starts from.
    if ((access & kKeyWow64_64Key) != 0) {
        target.redirected = false;
    } else if ((access & kKeyWow64_32Key) != 0) {
        target.redirected = true;
    } else {
        target.redirected = base->target.redirected;
    }
    target.redirected = target.redirected && wow64_;
    target.id = IdentifyKey(target.root, target.names, target.redirected, wow64_);
    return kSuccess;
}

PlanRegistry::Target PlanRegistry::childOf(const Target& parent, const std::string& name) const {
    Target child = parent;
    child.names.push_back(name);
    child.id = IdentifyKey(child.root, child.names, child.redirected, wow64_);
    return child;
}

PlanRegistry::Target PlanRegistry::prefixOf(const Target& target, std::size_t count) const {
    Target prefix = target;
    prefix.names.resize(count);
    prefix.id = IdentifyKey(prefix.root, prefix.names, prefix.redirected, wow64_);
    return prefix;
}

Status PlanRegistry::reach(const Target& target, std::uint32_t access, bool& exists,
                           RealKey& real) {
    exists = false;
    bool hidden = false;
    for (std::size_t count = 0; count < target.id.names.size(); ++count) {
        const KeyRecord* above = find(AncestorOf(target.id, count, wow64_));
        if (above == nullptr) continue;
        if (above->state == KeyState::Deleted) return kSuccess;
        hidden = hidden || above->hidesReal;
    }
    if (const KeyRecord* own = find(target.id)) {
        if (own->state == KeyState::Deleted) return kSuccess;
        if (own->state == KeyState::Created) {
            exists = true;
            return kSuccess;
        }
    }
    if (hidden) return kSuccess;
    if (target.names.empty()) {
        exists = true;
        real = RealKey(real_, target.root, false);
        return kSuccess;
    }
    const std::string path = JoinKeyPath(target.names);
    RegistryHandle handle = 0;
    Status status =
        real_.openKey(target.root, path, kKeyRead | viewFlag(target.redirected), handle);
    if (status == kErrorAccessDenied) {
        // A key that refuses reading may still grant what the caller asked for.
        status =
            real_.openKey(target.root, path,
                          (Granted(access) & kReadRights) | viewFlag(target.redirected), handle);
    }
    if (status == kErrorFileNotFound) return kSuccess;
    if (status != kSuccess) return status;
    exists = true;
    real = RealKey(real_, handle, true);
    return kSuccess;
}

RegistryHandle PlanRegistry::remember(Target target, std::uint32_t access, RealKey real) {
    const RegistryHandle value = nextHandle_;
    // Values are never reused, so a stale handle keeps failing instead of reaching a new key.
    nextHandle_ += 4;
    Handle& handle = handles_[value];
    handle.generation = generationOf(target.id);
    handle.target = std::move(target);
    handle.granted = Granted(access);
    handle.real = std::move(real);
    return value;
}

Status PlanRegistry::openKey(RegistryHandle parent, const std::string& subKey, std::uint32_t access,
                             RegistryHandle& key) {
    if (subKey.empty() && IsPredefined(parent)) {
        key = parent;
        return kSuccess;
    }
    std::string_view path = subKey;
    if (parent == kClassesRoot && !path.empty() && path.front() == '\\') path.remove_prefix(1);
    Target target;
    if (const Status status = resolve(parent, path, access, target)) return status;
    bool exists = false;
    RealKey real;
    if (const Status status = reach(target, access, exists, real)) return status;
    if (!exists) return kErrorFileNotFound;
    key = remember(std::move(target), access, std::move(real));
    return kSuccess;
}

Status PlanRegistry::createMissing(const Target& target) {
    for (std::size_t count = 1; count <= target.names.size(); ++count) {
        const Target step = prefixOf(target, count);
        bool exists = false;
        RealKey unused;
        if (const Status status = reach(step, 0, exists, unused)) return status;
        if (exists) continue;
        KeyRecord& record = keys_[step.id];
        record.state = KeyState::Created;
        record.name = step.names.back();
        record.createdAt = ++sequence_;
        log_.add(ChangeKind::CreateKey, place(step), "", kNothing, "created");
    }
    return kSuccess;
}

Status PlanRegistry::createKey(RegistryHandle parent, const std::string& subKey,
                               std::uint32_t access, RegistryHandle& key) {
    Target target;
    if (const Status status = resolve(parent, subKey, access, target)) return status;
    for (const std::string& name : target.names) {
        if (name.size() > kLongestName) return kErrorInvalidParameter;
    }
    bool exists = false;
    RealKey real;
    if (const Status status = reach(target, access, exists, real)) return status;
    if (!exists) {
        if (const Status status = createMissing(target)) return status;
    }
    key = remember(std::move(target), access, std::move(real));
    return kSuccess;
}

Status PlanRegistry::closeKey(RegistryHandle key) {
    if (IsPredefined(key)) return kSuccess;
    return handles_.erase(key) != 0 ? kSuccess : kErrorInvalidHandle;
}

Status PlanRegistry::deleteKey(RegistryHandle parent, const std::string& subKey) {
    Target target;
    if (const Status status = resolve(parent, subKey, 0, target)) return status;
    if (target.names.empty()) return kErrorAccessDenied;
    Handle probe;
    bool exists = false;
    if (const Status status = reach(target, kDelete, exists, probe.real)) return status;
    if (!exists) return kErrorFileNotFound;
    probe.target = target;
    // RegDeleteKeyA takes a key without subkeys only.
    if (!subkeyNames(probe).empty()) return kErrorAccessDenied;
    KeyRecord& record = keys_[target.id];
    record.state = KeyState::Deleted;
    record.hidesReal = true;
    ++record.generation;
    record.values.clear();
    record.security.clear();
    log_.add(ChangeKind::DeleteKey, place(target), "", "present", kNothing);
    return kSuccess;
}

std::vector<std::string> PlanRegistry::subkeyNames(const Handle& handle) const {
    std::vector<std::string> names;
    std::set<KeyId> listed;
    if (handle.real.open()) {
        std::string name;
        for (std::uint32_t index = 0; real_.enumKey(handle.real.handle(), index, name) == kSuccess;
             ++index) {
            const Target child = childOf(handle.target, name.substr(0, name.find('\0')));
            listed.insert(child.id);
            const KeyRecord* record = find(child.id);
            if (record == nullptr || record->state != KeyState::Deleted) names.push_back(name);
        }
    }
    std::vector<std::pair<std::uint64_t, std::string>> created;
    const KeyId& self = handle.target.id;
    for (const auto& [key, record] : keys_) {
        if (record.state != KeyState::Created || key.root != self.root ||
            key.names.size() != self.names.size() + 1 ||
            !std::equal(self.names.begin(), self.names.end(), key.names.begin()) ||
            listed.count(key) != 0) {
            continue;
        }
        // Only a child in the view this handle lists.
        if (childOf(handle.target, record.name).id == key) {
            created.emplace_back(record.createdAt, record.name);
        }
    }
    std::sort(created.begin(), created.end());
    for (auto& entry : created) names.push_back(std::move(entry.second));
    return names;
}

Status PlanRegistry::enumKey(RegistryHandle key, std::uint32_t index, std::string& name) {
    Handle* handle = nullptr;
    if (const Status status = use(key, kKeyEnumerateSubKeys, handle)) return status;
    const std::vector<std::string> names = subkeyNames(*handle);
    if (index >= names.size()) return kErrorNoMoreItems;
    name = names[index];
    return kSuccess;
}

// ---- values --------------------------------------------------------------------------

std::optional<PlanRegistry::StoredValue> PlanRegistry::current(const Handle& handle,
                                                               const std::string& utf8Name) const {
    if (const KeyRecord* record = find(handle.target.id)) {
        const auto it = record->values.find(Fold(utf8Name));
        if (it != record->values.end()) return it->second.data;
    }
    if (!handle.real.open()) return std::nullopt;
    StoredValue value;
    std::string bytes;
    if (real_.queryStoredValue(handle.real.handle(), utf8Name, value.type, bytes) != kSuccess) {
        return std::nullopt;
    }
    if (IsStringType(value.type)) {
        value.bytes = SeamTextFromUtf16(bytes);
        value.wide = std::move(bytes);
    } else {
        value.bytes = std::move(bytes);
    }
    return value;
}

void PlanRegistry::store(const Handle& handle, const std::string& utf8Name,
                         std::optional<StoredValue> data) {
    const std::optional<StoredValue> before = current(handle, utf8Name);
    const auto describe = [](const std::optional<StoredValue>& value) {
        return value ? DescribeValue(value->type, value->bytes) : std::string(kNothing);
    };
    log_.add(data ? ChangeKind::SetValue : ChangeKind::DeleteValue, place(handle.target),
             SeamTextFromUtf8(utf8Name), describe(before), describe(data));
    KeyRecord& record = keys_[handle.target.id];
    const auto [it, added] = record.values.try_emplace(Fold(utf8Name));
    if (added) {
        it->second.name = utf8Name;
        it->second.order = ++sequence_;
    }
    it->second.data = std::move(data);
}

Status PlanRegistry::queryValue(RegistryHandle key, const std::string& name, std::size_t capacity,
                                std::uint32_t& type, std::string& data, std::uint32_t& size) {
    Handle* handle = nullptr;
    if (const Status status = use(key, kKeyQueryValue, handle)) return status;
    if (const KeyRecord* record = find(handle->target.id)) {
        const auto it = record->values.find(Fold(Utf8FromSeamText(name)));
        if (it != record->values.end()) {
            const std::optional<StoredValue>& value = it->second.data;
            if (!value) return kErrorFileNotFound;
            type = value->type;
            size = static_cast<std::uint32_t>(value->bytes.size());
            if (value->bytes.size() > capacity) return kErrorMoreData;
            data = value->bytes;
            return kSuccess;
        }
    }
    if (!handle->real.open()) return kErrorFileNotFound;
    return real_.queryValue(handle->real.handle(), name, capacity, type, data, size);
}

Status PlanRegistry::queryStoredValue(RegistryHandle key, const std::string& name,
                                      std::uint32_t& type, std::string& bytes) {
    Handle* handle = nullptr;
    if (const Status status = use(key, kKeyQueryValue, handle)) return status;
    if (const KeyRecord* record = find(handle->target.id)) {
        const auto it = record->values.find(Fold(name));
        if (it != record->values.end()) {
            const std::optional<StoredValue>& value = it->second.data;
            if (!value) return kErrorFileNotFound;
            type = value->type;
            if (value->wide) {
                bytes = *value->wide;
            } else {
                bytes = IsStringType(value->type) ? WidenSeamText(value->bytes) : value->bytes;
            }
            return kSuccess;
        }
    }
    if (!handle->real.open()) return kErrorFileNotFound;
    return real_.queryStoredValue(handle->real.handle(), name, type, bytes);
}

Status PlanRegistry::setValue(RegistryHandle key, const std::string& name, std::uint32_t type,
                              const std::string& data) {
    Handle* handle = nullptr;
    if (const Status status = use(key, kKeySetValue, handle)) return status;
    StoredValue value{type, data, std::nullopt};
    if (IsStringType(type) && !data.empty() && data.back() != '\0') value.bytes.push_back('\0');
    store(*handle, Utf8FromSeamText(name), std::move(value));
    return kSuccess;
}

Status PlanRegistry::setStoredValue(RegistryHandle key, const std::string& name, std::uint32_t type,
                                    const std::string& bytes) {
    Handle* handle = nullptr;
    if (const Status status = use(key, kKeySetValue, handle)) return status;
    StoredValue value{type, bytes, std::nullopt};
    if (IsStringType(type)) {
        value.bytes = SeamTextFromUtf16(bytes);
        value.wide = bytes;
    }
    store(*handle, name, std::move(value));
    return kSuccess;
}

Status PlanRegistry::deleteValue(RegistryHandle key, const std::string& name) {
    Handle* handle = nullptr;
    if (const Status status = use(key, kKeySetValue, handle)) return status;
    const std::string utf8Name = Utf8FromSeamText(name);
    if (!current(*handle, utf8Name)) return kErrorFileNotFound;
    store(*handle, utf8Name, std::nullopt);
    return kSuccess;
}

std::vector<std::string> PlanRegistry::valueNames(const Handle& handle) const {
    std::vector<std::string> names;
    std::set<std::string> listed;
    const KeyRecord* record = find(handle.target.id);
    const auto recorded = [record](const std::string& folded) -> const ValueRecord* {
        if (record == nullptr) return nullptr;
        const auto it = record->values.find(folded);
        return it == record->values.end() ? nullptr : &it->second;
    };
    if (handle.real.open()) {
        std::string name;
        for (std::uint32_t index = 0;
             real_.enumValue(handle.real.handle(), index, name) == kSuccess; ++index) {
            const std::string folded = Fold(name);
            listed.insert(folded);
            const ValueRecord* value = recorded(folded);
            if (value == nullptr || value->data) names.push_back(name);
        }
    }
    if (record == nullptr) return names;
    std::vector<std::pair<std::uint64_t, std::string>> added;
    for (const auto& [folded, value] : record->values) {
        if (value.data && listed.count(folded) == 0) added.emplace_back(value.order, value.name);
    }
    std::sort(added.begin(), added.end());
    for (auto& entry : added) names.push_back(std::move(entry.second));
    return names;
}

Status PlanRegistry::enumValue(RegistryHandle key, std::uint32_t index, std::string& name) {
    Handle* handle = nullptr;
    if (const Status status = use(key, kKeyQueryValue, handle)) return status;
    const std::vector<std::string> names = valueNames(*handle);
    if (index >= names.size()) return kErrorNoMoreItems;
    name = names[index];
    return kSuccess;
}

// ---- security ------------------------------------------------------------------------

Status PlanRegistry::currentSecurity(Handle& handle, std::uint32_t information,
                                     std::string& descriptor) {
    if (const KeyRecord* record = find(handle.target.id)) {
        const std::string* answer = nullptr;
        bool whole = true;
        for (const std::uint32_t part : kParts) {
            if ((information & part) == 0) continue;
            const auto it = record->security.find(part);
            if (it == record->security.end()) {
                whole = false;
            } else if (answer == nullptr) {
                answer = &it->second;
            }
        }
        if (answer != nullptr && whole) {
            descriptor = *answer;
            return kSuccess;
        }
    }
    if (handle.real.open())
        return real_.getKeySecurity(handle.real.handle(), information, descriptor);
    // A key the plan created: the nearest real key above it stands in.
    for (std::size_t count = handle.target.names.size(); count-- > 0;) {
        bool exists = false;
        RealKey above;
        if (reach(prefixOf(handle.target, count), kReadControl, exists, above) == kSuccess &&
            above.open()) {
            return real_.getKeySecurity(above.handle(), information, descriptor);
        }
    }
    return kErrorFileNotFound;
}

Status PlanRegistry::getKeySecurity(RegistryHandle key, std::uint32_t information,
                                    std::string& descriptor) {
    std::uint32_t needed = kReadControl;
    if ((information & kSaclPart) != 0) needed |= kAccessSystemSecurity;
    Handle* handle = nullptr;
    if (const Status status = use(key, needed, handle, true)) return status;
    return currentSecurity(*handle, information, descriptor);
}

Status PlanRegistry::setKeySecurity(RegistryHandle key, std::uint32_t information,
                                    const std::string& descriptor) {
    if ((information & (kOwnerPart | kGroupPart | kDaclPart | kSaclPart)) == 0) {
        return kErrorInvalidParameter;
    }
    if (descriptor.size() < kDescriptorHeaderSize ||
        (ReadLe(descriptor, 2, 2) & kSeSelfRelative) == 0) {
        return kErrorInvalidSecurityDescriptor;
    }
    if (descriptor[0] != 1) return kErrorUnknownRevision;
    std::uint32_t needed = 0;
    if ((information & (kOwnerPart | kGroupPart)) != 0) needed |= kWriteOwner;
    if ((information & kDaclPart) != 0) needed |= kWriteDac;
    if ((information & kSaclPart) != 0) needed |= kAccessSystemSecurity;
    Handle* handle = nullptr;
    if (const Status status = use(key, needed, handle, true)) return status;
    std::string before;
    const bool known = currentSecurity(*handle, information, before) == kSuccess;
    log_.add(ChangeKind::SetKeySecurity, place(handle->target), "",
             known ? DescribeDescriptor(before) : std::string(kNothing),
             DescribeDescriptor(descriptor));
    KeyRecord& record = keys_[handle->target.id];
    for (const std::uint32_t part : kParts) {
        if ((information & part) != 0) record.security[part] = descriptor;
    }
    return kSuccess;
}

}  // namespace vx::platform::plan
