#pragma once
// The registry of a plan. Reads come from the registry underneath with the plan's own
// changes laid over them; writes are recorded and never reach it. Keys are known by
// KeyIdentity.h: root, names without case, view.
//
// Underneath, keys are only ever opened for reading (KEY_READ, or the read rights the caller
// asked for when the key refuses KEY_READ), with the view flag of the caller's view. The
// handles given out are the layer's own; each holds the real handle it reads through and
// closes it with itself.
//
// What the system would answer and the plan can tell, it answers the same: 2 for a missing
// key or value, 5 for deleting a key that still has subkeys (or a root) and for a handle
// lacking the right a call needs, 6 for a handle that is not open, 1018 for a handle whose
// key the plan deleted since, 234 for a buffer too small, 161 for a path starting with "\",
// 87 for creating a name longer than 256 characters. What only the attempt would show (a
// key's security refusing a write or a deletion) is not foreseen: such writes succeed.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "platform/plan/KeyIdentity.h"
#include "platform/plan/PlannedChange.h"
#include "platform/plan/RealKey.h"

namespace vx::platform::plan {

class PlanRegistry final : public Registry {
public:
    // `wow64`: the machine is 64-bit, so the views count.
    PlanRegistry(Registry& real, ChangeLog& log, bool wow64);

    [[nodiscard]] Status openKey(RegistryHandle parent, const std::string& subKey,
                                 std::uint32_t access, RegistryHandle& key) override;
    // A key that does not exist is recorded as created, with every missing key on the way.
    [[nodiscard]] Status createKey(RegistryHandle parent, const std::string& subKey,
                                   std::uint32_t access, RegistryHandle& key) override;
    [[nodiscard]] Status closeKey(RegistryHandle key) override;
    [[nodiscard]] Status queryValue(RegistryHandle key, const std::string& name,
                                    std::size_t capacity, std::uint32_t& type, std::string& data,
                                    std::uint32_t& size) override;
    // A string value set without its terminator is recorded with one, as the system stores it.
    [[nodiscard]] Status setValue(RegistryHandle key, const std::string& name, std::uint32_t type,
                                  const std::string& data) override;
    [[nodiscard]] Status deleteValue(RegistryHandle key, const std::string& name) override;
    // A deleted key takes its values with it; a later creation makes a new, empty key.
    [[nodiscard]] Status deleteKey(RegistryHandle parent, const std::string& subKey) override;
    // A recorded descriptor is answered when it was set with every part asked for; a key the
    // plan created reports the security of the nearest real key above it.
    [[nodiscard]] Status getKeySecurity(RegistryHandle key, std::uint32_t information,
                                        std::string& descriptor) override;
    [[nodiscard]] Status setKeySecurity(RegistryHandle key, std::uint32_t information,
                                        const std::string& descriptor) override;
    // The real subkeys in the system's order less the deleted ones, then the created ones in
    // the order they were created. Values list the same way.
    [[nodiscard]] Status enumKey(RegistryHandle key, std::uint32_t index,
                                 std::string& name) override;
    // A value written through the A call and read through the W call (or the reverse) is
    // converted as the seam's text mode says (platform/TextMode.h).
    [[nodiscard]] Status queryStoredValue(RegistryHandle key, const std::string& name,
                                          std::uint32_t& type, std::string& bytes) override;
    [[nodiscard]] Status setStoredValue(RegistryHandle key, const std::string& name,
                                        std::uint32_t type, const std::string& bytes) override;
    [[nodiscard]] std::string seamTextFromUtf8(const std::string& name) override {
        return real_.seamTextFromUtf8(name);
    }
    [[nodiscard]] Status enumValue(RegistryHandle key, std::uint32_t index,
                                   std::string& name) override;

    // Handles of this layer still open (the predefined roots are none).
    int openHandles() const { return static_cast<int>(handles_.size()); }

private:
    // A value as the plan holds it: its bytes as the A calls read them and, for a string
    // written through the W call, the UTF-16 bytes as given.
    struct StoredValue {
        std::uint32_t type = 0;
        std::string bytes;
        std::optional<std::string> wide;
    };
    struct ValueRecord {
        std::string name;                 // UTF-8, as first written in the plan
        std::optional<StoredValue> data;  // nothing: deleted
        std::uint64_t order = 0;
    };
    enum class KeyState { AsReal, Created, Deleted };
    struct KeyRecord {
        std::string name;  // the last name as the plan created it
        KeyState state = KeyState::AsReal;
        bool hidesReal = false;  // deleted once: nothing of the real key shows any more
        std::uint32_t generation = 0;
        std::uint64_t createdAt = 0;
        std::map<std::string, ValueRecord> values;      // by upper-cased UTF-8 name
        std::map<std::uint32_t, std::string> security;  // descriptor by the part it set
    };
    // A key as a call names it: the caller's root and spelling, the view it asked for.
    struct Target {
        RegistryHandle root = 0;
        std::vector<std::string> names;
        bool redirected = false;
        KeyId id;
    };
    struct Handle {
        Target target;
        std::uint32_t granted = 0;
        std::uint32_t generation = 0;
        RealKey real;  // open while the real key's data shows through
    };

    [[nodiscard]] Status use(RegistryHandle key, std::uint32_t needed, Handle*& handle,
                             bool evenDeleted = false);
    Handle& rootHandle(RegistryHandle root);
    [[nodiscard]] Status resolve(RegistryHandle parent, std::string_view subKey,
                                 std::uint32_t access, Target& target);
    Target childOf(const Target& parent, const std::string& name) const;
    Target prefixOf(const Target& target, std::size_t count) const;
    // Whether the key exists through the plan; when its real data shows through, `real`
    // holds a read-only handle to it.
    [[nodiscard]] Status reach(const Target& target, std::uint32_t access, bool& exists,
                               RealKey& real);
    [[nodiscard]] Status createMissing(const Target& target);
    RegistryHandle remember(Target target, std::uint32_t access, RealKey real);

    const KeyRecord* find(const KeyId& key) const;
    std::uint32_t generationOf(const KeyId& key) const;
    std::optional<StoredValue> current(const Handle& handle, const std::string& utf8Name) const;
    void store(const Handle& handle, const std::string& utf8Name, std::optional<StoredValue> data);
    std::vector<std::string> valueNames(const Handle& handle) const;
    std::vector<std::string> subkeyNames(const Handle& handle) const;
    [[nodiscard]] Status currentSecurity(Handle& handle, std::uint32_t information,
                                         std::string& descriptor);

    std::string place(const Target& target) const;
    std::uint32_t viewFlag(bool redirected) const;

    Registry& real_;
    ChangeLog& log_;
    bool wow64_;
    std::map<KeyId, KeyRecord> keys_;
    std::map<RegistryHandle, Handle> handles_;
    std::map<RegistryHandle, Handle> roots_;
    RegistryHandle nextHandle_ = 0x1000;
    std::uint64_t sequence_ = 0;
};

}  // namespace vx::platform::plan
