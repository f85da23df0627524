// The Windows registry, string values only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace chw {

inline constexpr std::uint32_t HKEY_CURRENT_USER_ROOT = 0x80000001u;
inline constexpr std::uint32_t HKEY_LOCAL_MACHINE_ROOT = 0x80000002u;

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // True when the key exists afterwards.
    virtual bool CreateKey(std::uint32_t root, const std::string& path) = 0;
    // Stores a REG_SZ value; true when it was stored. Does not create a missing key.
    virtual bool SetString(std::uint32_t root, const std::string& path, const std::string& name, const std::string& data) = 0;
    // The value's text, or nothing when the key or value is missing or cannot be read.
    virtual std::optional<std::string> GetString(std::uint32_t root, const std::string& path, const std::string& name) = 0;
};

}  // namespace chw
