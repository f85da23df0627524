#include <optional>

#include "winamp/PlayerCommands.h"
#include "settings/SettingsSchema.h"
#include "winamp/PlayerLocation.h"
#include "winamp/WinampTexts.h"

namespace chw {

namespace {
constexpr const char* kNotFoundTitle = "Fatal Error!";
constexpr const char* kNotFoundText = "WinAmp Not Found!";
constexpr const char* kCloseText = "Are You Sure You Want To Close WinAmp?\r\nThis Will Close ALL OPEN INSTANCES OF WINAMP!";
}  // namespace

void PlayerCommands::mnuStartWinAmp_Click() {
    if (winamp_.Locate() != 0) {
        p_.windows.Show(winamp_.WinampHwnd, ShowCommand::ShowDefault);
        return;
    }
    const std::optional<std::string> file = winamp::FindPlayer(p_.files, p_.registry);
    if (file && p_.processes.Launch(winamp::PlayerCommand(*file), WindowStyle::NormalFocus).Started()) return;
    // Without the player there is no alarm to sound.
    p_.boxes.Show(kNotFoundText, kNotFoundTitle, MbIcon::Critical, MbButtons::Ok);
    p_.runtime.EndProgram();
}

void PlayerCommands::mnuCloseWinAmp_Click() {
    if (p_.boxes.Show(kCloseText, winamp::kCloseWinAmpTitle, MbIcon::Question, MbButtons::YesNo) == MbAnswer::No) return;
    winamp_.CloseAll();
}

void PlayerCommands::mnuLoadWinAmpOnStart_Click() {
    const bool on = !view_.Checked(MainCtl::mnuLoadWinAmpOnStart);
    view_.SetChecked(MainCtl::mnuLoadWinAmpOnStart, on);
    if (!SaveOption(registryDB_, p_.boxes, settings::kWinAmpOnStart, on ? settings::kYes : settings::kNo)) unload_();
}

}  // namespace chw
