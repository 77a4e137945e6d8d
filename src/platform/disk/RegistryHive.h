// A registry hive file of a Windows disk (SYSTEM, SOFTWARE), read through
// hivex. Key paths are names joined by "\\" below the hive's root, matched
// without regard to letter case as Windows matches them; texts are UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ostravion::disk {

class RegistryHive {
public:
    ~RegistryHive();
    RegistryHive(const RegistryHive&) = delete;
    RegistryHive& operator=(const RegistryHive&) = delete;

    // The hive held in `bytes`; null when they are no hive hivex can read
    // (another kind of file) or when its header says its bins run past the
    // end of the bytes (a hive cut short, whose missing keys would read as
    // keys that are not there). `why` gets the fault in Korean (UTF-8).
    static std::unique_ptr<RegistryHive> FromBytes(const std::string& bytes,
                                                   std::string* why = nullptr);

    // The header's two sequence numbers differ: the hive was not written
    // cleanly, and what its transaction logs hold is not in it.
    bool Dirty() const;
    // A lookup so far failed for another reason than a missing key or
    // value (a damaged cell): what was read may lack what the hive holds.
    bool Damaged() const;
    // True when the key exists.
    bool HasKey(const std::string& key) const;

    // The names of a key's sub-keys in the hive's order; false when the key
    // is missing.
    bool SubKeys(const std::string& key, std::vector<std::string>& names) const;
    // A string value (REG_SZ, REG_EXPAND_SZ); nothing when missing or of another type.
    std::optional<std::string> String(const std::string& key, const std::string& name) const;
    // A REG_DWORD value.
    std::optional<std::uint32_t> Dword(const std::string& key, const std::string& name) const;
    // A REG_MULTI_SZ value's strings.
    std::optional<std::vector<std::string>> Strings(const std::string& key,
                                                    const std::string& name) const;

    struct Impl;

private:
    explicit RegistryHive(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace ostravion::disk
