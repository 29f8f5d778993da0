#include "backup/RegistryState.h"

#include <algorithm>
#include <cstdint>

#include "common/DebugLog.h"
#include "common/RunReport.h"
#include "common/Text.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryPaths.h"

namespace vx::backup {
namespace {

using platform::RegistryHandle;
using platform::Status;

constexpr std::uint32_t kChangeAccess = platform::kKeyQueryValue | platform::kKeySetValue |
                                        platform::kKeyCreateSubKey | platform::kKeyEnumerateSubKeys;

platform::Registry& Registry() { return platform::Current().registry(); }

RegistryHandle RootHandle(const std::string& root) {
    return root == "HKEY_CLASSES_ROOT" ? platform::kClassesRoot : platform::kLocalMachine;
}

std::uint32_t ViewFlag(RegistryView view) {
    if (view == RegistryView::Native) return registry::NativeViewFlag();
    return registry::fIs64Bit() ? platform::kKeyWow64_32Key : 0;
}

std::string Describe(const std::string& root, const std::string& path, RegistryView view) {
    return root + "\\" + path + (view == RegistryView::Redirected ? " (32-bit view)" : "");
}

void LogFailure(const std::string& what, const std::string& place, Status status) {
    DPrint("FactoryBackup: " + what + " " + place + " failed with " + ToText(status));
}

// Opens an existing key; kErrorFileNotFound when it is missing.
Status OpenKey(registry::RegistryKey& key, const std::string& root, const std::string& path,
               RegistryView view, std::uint32_t access) {
    return key.open(RootHandle(root), path, access | ViewFlag(view));
}

std::optional<StoredValue> ReadStored(RegistryHandle key, const std::string& name, Status& status) {
    StoredValue value;
    status = Registry().queryStoredValue(key, name, value.type, value.bytes);
    if (status != platform::kSuccess) return std::nullopt;
    return value;
}

// Every name an enumeration gives, until kErrorNoMoreItems; nothing on another failure.
template <typename Enumerate>
std::optional<std::vector<std::string>> Names(Enumerate enumerate) {
    std::vector<std::string> names;
    for (std::uint32_t index = 0;; ++index) {
        std::string name;
        const Status status = enumerate(index, name);
        if (status == platform::kErrorNoMoreItems) return names;
        if (status != platform::kSuccess) return std::nullopt;
        names.push_back(std::move(name));
    }
}

bool ReadTreeInto(const std::string& root, const std::string& path, RegistryView view,
                  std::vector<KeyRecord>& records) {
    registry::RegistryKey key;
    const Status opened = OpenKey(key, root, path, view, platform::kKeyRead);
    if (opened != platform::kSuccess) {
        LogFailure("reading", Describe(root, path, view), opened);
        return false;
    }
    KeyRecord record{root, path, view, true, {}};
    const auto valueNames = Names([&](std::uint32_t i, std::string& name) {
        return Registry().enumValue(key.handle(), i, name);
    });
    const auto children = Names([&](std::uint32_t i, std::string& name) {
        return Registry().enumKey(key.handle(), i, name);
    });
    if (!valueNames || !children) {
        DPrint("FactoryBackup: listing " + Describe(root, path, view) + " failed");
        return false;
    }
    for (const std::string& name : *valueNames) {
        Status status = platform::kSuccess;
        auto value = ReadStored(key.handle(), name, status);
        if (!value) {
            LogFailure("reading value \"" + name + "\" of", Describe(root, path, view), status);
            return false;
        }
        record.values.push_back({name, std::move(value)});
    }
    records.push_back(std::move(record));
    for (const std::string& child : *children) {
        if (!ReadTreeInto(root, path + "\\" + child, view, records)) return false;
    }
    return true;
}

bool SameValue(const std::optional<StoredValue>& a, const std::optional<StoredValue>& b) {
    if (a.has_value() != b.has_value()) return false;
    return !a || (a->type == b->type && a->bytes == b->bytes);
}

bool WriteValue(RegistryHandle key, const ValueRecord& wanted, const std::string& place) {
    const Status status =
        wanted.value
            ? Registry().setStoredValue(key, wanted.name, wanted.value->type, wanted.value->bytes)
            : Registry().deleteValue(key, wanted.name);
    if (status == platform::kSuccess && wanted.value) {
        const std::string change = place + " \"" + wanted.name + "\" = " + RegFileData(*wanted.value);
        ReportChange("restored " + change, "restore " + change, place + " differs");
    } else if (status == platform::kSuccess) {
        const std::string change = place + " \"" + wanted.name + "\"";
        ReportChange("removed " + change, "remove " + change, place + " differs");
    }
    if (status == platform::kSuccess || (!wanted.value && status == platform::kErrorFileNotFound)) {
        return true;
    }
    LogFailure(
        std::string(wanted.value ? "writing" : "deleting") + " value \"" + wanted.name + "\" of",
        place, status);
    return false;
}

// Deletes `path` and everything below it, children first, each through its parent's handle
// in the same view.
bool DeleteTree(const std::string& root, const std::string& path, RegistryView view) {
    {
        registry::RegistryKey key;
        const Status opened = OpenKey(key, root, path, view, platform::kKeyRead);
        if (opened == platform::kErrorFileNotFound) return true;
        if (opened != platform::kSuccess) {
            LogFailure("opening", Describe(root, path, view), opened);
            return false;
        }
        const auto children = Names([&](std::uint32_t i, std::string& name) {
            return Registry().enumKey(key.handle(), i, name);
        });
        if (!children) return false;
        for (const std::string& child : *children) {
            if (!DeleteTree(root, path + "\\" + child, view)) return false;
        }
    }
    const std::size_t slash = path.find_last_of('\\');
    registry::RegistryKey parent;
    Status status =
        OpenKey(parent, root, path.substr(0, slash), view, platform::kKeyEnumerateSubKeys);
    if (status == platform::kSuccess)
        status = Registry().deleteKey(parent.handle(), path.substr(slash + 1));
    if (status == platform::kSuccess) {
        const std::string key = Describe(root, path, view);
        ReportChange("deleted the key " + key, "delete the key " + key, key + " exists");
    }
    if (status == platform::kSuccess || status == platform::kErrorFileNotFound) return true;
    LogFailure("deleting", Describe(root, path, view), status);
    return false;
}

bool IsEmptyKey(const std::string& root, const std::string& path, RegistryView view) {
    registry::RegistryKey key;
    if (OpenKey(key, root, path, view, platform::kKeyRead) != platform::kSuccess) return false;
    std::string name;
    return Registry().enumValue(key.handle(), 0, name) == platform::kErrorNoMoreItems &&
           Registry().enumKey(key.handle(), 0, name) == platform::kErrorNoMoreItems;
}

const ValueRecord* FindValue(const KeyRecord& record, const std::string& name) {
    const auto found =
        std::find_if(record.values.begin(), record.values.end(),
                     [&](const ValueRecord& value) { return EqualsNoCase(value.name, name); });
    return found == record.values.end() ? nullptr : &*found;
}

}  // namespace

std::vector<RegistryView> ViewsOfThisSystem() {
    if (registry::fIs64Bit()) return {RegistryView::Native, RegistryView::Redirected};
    return {RegistryView::Native};
}

std::optional<KeyRecord> ReadValueSet(const std::string& root, const std::string& path,
                                      RegistryView view, const std::vector<std::string>& names) {
    KeyRecord record{root, path, view, true, {}};
    registry::RegistryKey key;
    const Status opened = OpenKey(key, root, path, view, platform::kKeyQueryValue);
    if (opened == platform::kErrorFileNotFound) {
        record.present = false;
        return record;
    }
    if (opened != platform::kSuccess) {
        LogFailure("reading", Describe(root, path, view), opened);
        return std::nullopt;
    }
    for (const std::string& name : names) {
        Status status = platform::kSuccess;
        auto value = ReadStored(key.handle(), name, status);
        if (!value && status != platform::kErrorFileNotFound) {
            LogFailure("reading value \"" + name + "\" of", Describe(root, path, view), status);
            return std::nullopt;
        }
        record.values.push_back({name, std::move(value)});
    }
    return record;
}

std::optional<std::vector<KeyRecord>> ReadTree(const std::string& root, const std::string& path,
                                               RegistryView view) {
    {
        registry::RegistryKey key;
        const Status opened = OpenKey(key, root, path, view, platform::kKeyRead);
        if (opened == platform::kErrorFileNotFound) {
            return std::vector<KeyRecord>{{root, path, view, false, {}}};
        }
    }
    std::vector<KeyRecord> records;
    if (!ReadTreeInto(root, path, view, records)) return std::nullopt;
    return records;
}

bool BringBackValueSet(const KeyRecord& wanted, const std::vector<std::string>& names) {
    const auto current = ReadValueSet(wanted.root, wanted.path, wanted.view, names);
    if (!current) return false;
    if (!wanted.present && !current->present) return true;
    const std::string place = Describe(wanted.root, wanted.path, wanted.view);
    registry::RegistryKey key;
    const Status opened = wanted.present
                              ? key.create(RootHandle(wanted.root), wanted.path,
                                           kChangeAccess | ViewFlag(wanted.view))
                              : OpenKey(key, wanted.root, wanted.path, wanted.view, kChangeAccess);
    if (opened != platform::kSuccess) {
        LogFailure("opening", place, opened);
        return false;
    }
    bool complete = true;
    for (const std::string& name : names) {
        const ValueRecord* record = wanted.present ? FindValue(wanted, name) : nullptr;
        const ValueRecord want = record != nullptr ? *record : ValueRecord{name, std::nullopt};
        const ValueRecord* now = FindValue(*current, name);
        if (now != nullptr && SameValue(now->value, want.value)) continue;
        complete = WriteValue(key.handle(), want, place) && complete;
    }
    static_cast<void>(key.close());
    if (!wanted.present && complete && IsEmptyKey(wanted.root, wanted.path, wanted.view)) {
        complete = DeleteTree(wanted.root, wanted.path, wanted.view);
    }
    return complete;
}

bool BringBackTree(const std::vector<KeyRecord>& wanted) {
    if (wanted.empty()) return true;
    const KeyRecord& top = wanted.front();
    std::vector<const KeyRecord*> keys;
    for (const KeyRecord& record : wanted) {
        if (record.present) keys.push_back(&record);
    }
    if (keys.empty()) return DeleteTree(top.root, top.path, top.view);
    const auto current = ReadTree(top.root, top.path, top.view);
    if (!current) return false;
    const auto wantedKey = [&](const std::string& path) {
        return std::any_of(keys.begin(), keys.end(),
                           [&](const KeyRecord* key) { return EqualsNoCase(key->path, path); });
    };
    bool complete = true;
    // Children come after their parents in a read tree: walking it backwards deletes leaves first.
    for (auto it = current->rbegin(); it != current->rend(); ++it) {
        if (it->present && !wantedKey(it->path))
            complete = DeleteTree(it->root, it->path, it->view) && complete;
    }
    for (const KeyRecord* record : keys) {
        const std::string place = Describe(record->root, record->path, record->view);
        registry::RegistryKey key;
        const Status created = key.create(RootHandle(record->root), record->path,
                                          kChangeAccess | ViewFlag(record->view));
        if (created != platform::kSuccess) {
            LogFailure("creating", place, created);
            complete = false;
            continue;
        }
        const auto now =
            std::find_if(current->begin(), current->end(), [&](const KeyRecord& candidate) {
                return candidate.present && EqualsNoCase(candidate.path, record->path);
            });
        if (now != current->end()) {
            for (const ValueRecord& value : now->values) {
                if (FindValue(*record, value.name) == nullptr) {
                    complete =
                        WriteValue(key.handle(), {value.name, std::nullopt}, place) && complete;
                }
            }
        }
        for (const ValueRecord& value : record->values) {
            const ValueRecord* existing =
                now != current->end() ? FindValue(*now, value.name) : nullptr;
            if (existing != nullptr && SameValue(existing->value, value.value)) continue;
            complete = WriteValue(key.handle(), value, place) && complete;
        }
    }
    return complete;
}

}  // namespace vx::backup
