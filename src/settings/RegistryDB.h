// The registry store: the three operations every form uses to reach its settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/MessageBoxes.h"
#include "platform/Registry.h"

namespace chw {

// What a read gives: the stored text, or nothing when the value could not be read. No text,
// not even an empty one or "False", can be mistaken for the failure.
using RegValue = std::optional<std::string>;

class RegistryDB {
public:
    explicit RegistryDB(IRegistry& registry) : registry_(registry) {}

    bool CreateKey(std::uint32_t root, const std::string& key);
    // Only string values (type 1) are stored; any other type fails without touching the registry.
    bool WriteValue(std::uint32_t root, const std::string& key, const std::string& name, const std::string& data,
                    std::uint32_t type);
    RegValue ReadValue(std::uint32_t root, const std::string& key, const std::string& name);

private:
    IRegistry& registry_;
};

// The registry error box: "ERROR!", critical icon, OK.
void ShowRegistryError(IMessageBoxes& boxes);

}  // namespace chw
