#include <optional>
#include <string>
#include <vector>

#include "alarm/AlarmTexts.h"
#include "app/Shutdown.h"
#include "platform/ProductNames.h"
#include "winamp/WinampTexts.h"
#include "settings/SettingsSchema.h"

namespace chw {

namespace {
constexpr const char* kStatusVerifying = "Shutdown Query Being Verified. . .";
constexpr const char* kConfirmTitle = "Close " CHW_PRODUCT "?";
constexpr const char* kConfirmText =
    "Are you sure you want to stop monitoring the time for your alarm?\r\nThis will close " CHW_PRODUCT_SYSTEM "!";
constexpr const char* kSaveTitle = "Save Settings?";
constexpr const char* kSaveText = "You Have Set The Alarm, Would You Like To Save The Settings?";
constexpr const char* kCloseWinampText = "Do You Want To Close WinAmp?";
constexpr const char* kWordPadClass = "WordPadClass";
}  // namespace

// Every close request comes here, whatever its cause, and asks the same questions.
// The watch goes on through its questions (the alarm rings under them); only the shutdown itself stops it.
void Shutdown::Form_QueryUnload(bool& cancel, int unloadMode) {
    show_.ShowStatus(kStatusVerifying);

    if (p_.boxes.Show(kConfirmText, kConfirmTitle, MbIcon::Question, MbButtons::YesNo) != MbAnswer::Yes) {
        cancel = true;
        // An alarm that rings, under the question or before it, keeps its banner.
        if (s_.Ringing())
            show_.ShowBanner();
        else
            show_.ShowStatus(alarm::kReady);
        return;
    }

    if (s_.Chosen()) {
        struct Write {
            const char* name;
            std::string data;
        };
        std::vector<Write> writes{{settings::kSettingsSaved, settings::kNo}};
        if (p_.boxes.Show(kSaveText, kSaveTitle, MbIcon::Question, MbButtons::YesNo) == MbAnswer::Yes) {
            // The flag goes to "Yes" only after both parts are stored, so that a failed write can never
            // leave a flag that vouches for a stale or missing date at the next start.
            writes.insert(writes.end(), {{settings::kDate, s_.AlarmDate},
                                         {settings::kTime, s_.AlarmTime},
                                         {settings::kSettingsSaved, settings::kYes}});
        }
        for (const Write& w : writes) {
            if (registryDB_.Write(w.name, w.data))
                continue;
            ShowRegistryError(p_.boxes);
            p_.runtime.EndProgram();
            return;
        }
    }

    const WindowHandle wordPad = p_.windows.Find(kWordPadClass, std::nullopt);
    const bool closePlayer =
        winamp_.Locate() != 0 &&
        p_.boxes.Show(kCloseWinampText, winamp::kCloseWinAmpTitle, MbIcon::Question, MbButtons::YesNo) == MbAnswer::Yes;
    // The last question is answered: from here on nothing may restart the player or ring.
    view_.MyTimer().SetEnabled(false);
    if (closePlayer) winamp_.CloseAll();
    // Minimised, not closed: the user may still be reading the help document.
    if (wordPad != 0) p_.windows.Show(wordPad, ShowCommand::Minimize);
    alarm_.SilenceAlarm();
    alarm_.ReleaseWake();
    // The user's own Exit ends the armed alarm; Windows ending the session (a restart for an update) does
    // not: the next start brings it back.
    if (unloadMode != kWindowsEnding) alarm_.ForgetArmed();
    p_.runtime.EndProgram();
}

bool Shutdown::Unload() {
    bool cancel = false;
    Form_QueryUnload(cancel, 0);
    return !cancel;
}

}  // namespace chw
