#include "app/frmIntro.h"

#include <utility>

#include "app/StartupTexts.h"
#include "app/StartupTimings.h"
#include "app/frmMain.h"
#include "settings/SettingsSchema.h"
#include "winamp/PlayerLocation.h"
#include "winamp/WinampTexts.h"

namespace chw {

frmIntro::frmIntro(Platform& platform, IIntroView& view, IMainLoader& loader)
    : p_(platform), view_(view), loader_(loader), registryDB_(platform.registry) {}

void frmIntro::Form_Load() {
    // The other instance is in front now; this one leaves without a word.
    if (ActivatePreviousInstance(p_)) return Leave();

    if (!winamp::PlayerInstalled(p_.files, p_.registry)) {
        winamp::ShowMissingPlayerBoxes(p_.boxes, p_.files);
        return Leave();
    }

    view_.SetCaption(IntroCtl::Label3,
                     view_.Caption(IntroCtl::Label3) + startup::SplashVersion(p_.runtime.ProgramVersion()));

    if (!WriteFirstStartDefaults()) {
        ShowRegistryError(p_.boxes);
        return Leave();
    }

    FillProgressBar();

    // The main window's load may end the program itself; on Windows that call does not come back.
    frmMain& main = loader_.LoadMainWindow();
    HandOver(main);
}

void frmIntro::Leave() {
    view_.Unload();
    p_.runtime.EndProgram();
}

// The program needs both start-up flags to exist. Only a flag that is missing gets its default, so a
// later start never overwrites the user's choice, and a key that lost one value heals itself instead
// of failing at every start.
bool frmIntro::WriteFirstStartDefaults() {
    using namespace settings;
    const bool trayMissing = !registryDB_.Read(kStartInTray).has_value();
    const bool winampMissing = !registryDB_.Read(kWinAmpOnStart).has_value();
    if (!trayMissing && !winampMissing) return true;

    if (!registryDB_.CreateKey(kRoot, kKeyNoSlash)) return false;
    if (trayMissing && !registryDB_.Write(kStartInTray, kNo)) return false;
    if (winampMissing && !registryDB_.Write(kWinAmpOnStart, kNo)) return false;
    return true;
}

void frmIntro::FillProgressBar() {
    ITimer& timer = view_.MyTimer();
    view_.SetProgressMax(startup::kProgressMax);
    timer.SetInterval(startup::kFastTickMs);

    // The ticks run inside DoEvents. Interval and Enabled are only set when they change: setting a
    // running timer again would restart its count and the slow ticks would never come.
    bool prepared = false;
    while (view_.ProgressMax() != view_.ProgressValue()) {
        const int value = view_.ProgressValue();
        if (value == view_.ProgressMax() - 2 && timer.Interval() != startup::kSlowTickMs)
            timer.SetInterval(startup::kSlowTickMs);
        if (value == 0 && !timer.Enabled()) timer.SetEnabled(true);
        // The main window is built while the bar fills, in the time before the first tick: the bar's
        // seconds stay what they are, and the load after them finds the window ready.
        if (!std::exchange(prepared, true)) loader_.PrepareMainWindow();
        p_.runtime.DoEvents();
    }

    timer.SetEnabled(false);
    timer.SetInterval(0);
}

void frmIntro::HandOver(frmMain& main) {
    IMainView& mainView = main.View();
    view_.Hide();

    // Nothing may be pressed while the screen changes hands.
    constexpr MainCtl inputs[] = {MainCtl::cmdSet, MainCtl::mnuHelp, MainCtl::mnuSettings, MainCtl::MonthView};
    for (MainCtl c : inputs) mainView.SetEnabled(c, false);
    p_.runtime.Pause(startup::kHandOverPauseMs);

    // The inputs come back before the window shows: a window shown with the calendar and the buttons
    // disabled puts its first focus into the time box, and moving it on to cmdSet below would then
    // validate an empty time and greet the user with a format error.
    for (MainCtl c : inputs) mainView.SetEnabled(c, true);
    // A window that went to the tray during its load stays there.
    if (!std::exchange(main.State().startsInTray, false)) mainView.Show();

    main.Presenter().ShowStartupStatus();
    if (!mainView.SysTray().Shown()) mainView.SetFocus(MainCtl::cmdSet);

    view_.Unload();
    main.ResumeArmedAlarm();
}

void frmIntro::MyTimer_Timer() {
    try {
        const int value = view_.ProgressValue() + 1;
        view_.SetProgressValue(value);
        const int max = view_.ProgressMax();
        if (value == max / 2 || value == max - 2) view_.Repaint();
        view_.Show();
    } catch (...) {
        // A failed tick only costs one step of the splash; the start-up goes on.
    }
}

}  // namespace chw
