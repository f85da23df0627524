#include "settings/RegistryDB.h"

#include "settings/SettingsSchema.h"

namespace chw {

void ShowRegistryError(IMessageBoxes& boxes) {
    boxes.Show(settings::kRegistryErrorText, settings::kRegistryErrorTitle, MbIcon::Critical, MbButtons::Ok);
}

bool SaveOption(RegistryDB& db, IMessageBoxes& boxes, const char* name, const std::string& value) {
    if (db.Write(name, value)) return true;
    ShowRegistryError(boxes);
    return false;
}

namespace settings {

bool IsYes(const std::optional<std::string>& stored) {
    return stored && stored->substr(0, 3) == kYes;
}

}  // namespace settings
}  // namespace chw
