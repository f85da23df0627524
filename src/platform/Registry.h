// The Windows registry, string values only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace chw {

// The two halves of the registry the program keeps things in: the machine's, and the user's own.
enum class Hive { Machine, User };

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // True when the key exists afterwards.
    virtual bool CreateKey(Hive root, const std::string& path) = 0;
    // Stores a REG_SZ value; true when it was stored. Does not create a missing key.
    virtual bool SetString(Hive root, const std::string& path, const std::string& name, const std::string& data) = 0;
    // The value's text, or nothing when the key or value is missing or cannot be read.
    virtual std::optional<std::string> GetString(Hive root, const std::string& path, const std::string& name) = 0;
};

}  // namespace chw
