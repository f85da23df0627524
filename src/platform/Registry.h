// The Windows registry, string values only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace chw {

// The two halves of the registry the program keeps things in: the machine's, and the user's own.
enum class Hive { Machine, User };
// The halves of a 64-bit Windows' registry that 64-bit and 32-bit programs each see as their own; Native is
// the one this program sees.
enum class RegView { Native, Bits64, Bits32 };

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // True when the key exists afterwards.
    virtual bool CreateKey(Hive root, const std::string& path) = 0;
    // Stores a REG_SZ value; true when it was stored. Does not create a missing key.
    virtual bool SetString(Hive root, const std::string& path, const std::string& name, const std::string& data) = 0;
    // The value's text, or nothing when the key or value is missing or cannot be read. Another view reads
    // where a 32-bit program's setup wrote, for one.
    virtual std::optional<std::string> GetString(Hive root, const std::string& path, const std::string& name,
                                                 RegView view = RegView::Native) = 0;
    // A REG_BINARY value's bytes, or nothing when it is missing or of another type.
    virtual std::optional<std::vector<std::uint8_t>> GetBinary(Hive root, const std::string& path,
                                                               const std::string& name) = 0;
};

}  // namespace chw
