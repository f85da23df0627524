// The registry store: the three operations every form uses to reach its settings.
#pragma once

#include <optional>
#include <string>

#include "platform/MessageBoxes.h"
#include "platform/Registry.h"
#include "settings/SettingsSchema.h"

namespace chw {

// What a read gives: the stored text, or nothing when the value could not be read. No text,
// not even an empty one or "False", can be mistaken for the failure.
using RegValue = std::optional<std::string>;

class RegistryDB {
public:
    explicit RegistryDB(IRegistry& registry) : registry_(registry) {}

    bool CreateKey(Hive root, const std::string& key) { return registry_.CreateKey(root, key); }
    // Stores a string value; false when it could not be stored.
    bool WriteValue(Hive root, const std::string& key, const std::string& name, const std::string& data) {
        return registry_.SetString(root, key, name, data);
    }
    RegValue ReadValue(Hive root, const std::string& key, const std::string& name) {
        return registry_.GetString(root, key, name);
    }
    // The program's own settings, under its key.
    bool Write(const std::string& name, const std::string& data) {
        return WriteValue(settings::kRoot, settings::kKey, name, data);
    }
    RegValue Read(const std::string& name) { return ReadValue(settings::kRoot, settings::kKey, name); }

private:
    IRegistry& registry_;
};

// The registry error box: "ERROR!", critical icon, OK.
void ShowRegistryError(IMessageBoxes& boxes);

// A menu option's choice ("Yes"/"No", or the repeat rule) saved at once; false, after the registry error,
// when it was refused (the caller then closes the window).
bool SaveOption(RegistryDB& db, IMessageBoxes& boxes, const char* name, const std::string& value);

}  // namespace chw
