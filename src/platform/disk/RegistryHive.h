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
    // (a truncated file, another kind of file).
    static std::unique_ptr<RegistryHive> FromBytes(const std::string& bytes);

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
