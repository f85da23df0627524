#include "fakes/FakeViews.h"

#include "app/FormTexts.h"
#include "app/MenuTexts.h"

namespace chw::fakes {

namespace {
int DaysIn(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[(month - 1) % 12];
}
}  // namespace

FakeMainView::FakeMainView(FakeScheduler& scheduler, const Date& today) : timer(scheduler, true, 1000), calendar(today) {
    using namespace texts;
    auto set = [this](MainCtl c, const char* caption, const char* tip = "", bool checked = false) {
        controls[c] = ControlState{caption, tip, true, checked};
    };
    set(MainCtl::Form, kMainCaption);
    set(MainCtl::MonthView, "", kTipMonthView);
    set(MainCtl::Label1, kLabel1);
    set(MainCtl::lblDate, "");
    set(MainCtl::Label2, kLabel2);
    set(MainCtl::txtTime, "", kTipTxtTime);
    set(MainCtl::cmdSet, kCmdSet, kTipCmdSet);
    set(MainCtl::cmdReset, kCmdReset, kTipCmdReset);
    set(MainCtl::StatusBar1, kStatusBar, kTipStatusBar);
    set(MainCtl::mnuSettings, CHW_MNUSETTINGS);
    set(MainCtl::mnuStartInSystemTray, CHW_MNUSTARTINSYSTEMTRAY, "", true);
    set(MainCtl::mnuLoadWinAmpOnStart, CHW_MNULOADWINAMPONSTART, "", true);
    set(MainCtl::mnuKeepAwake, CHW_MNUKEEPAWAKE);
    set(MainCtl::mnuMinimizeToTray, CHW_MNUMINIMIZETOTRAY);
    set(MainCtl::mnuRepeat, CHW_MNUREPEAT);
    set(MainCtl::mnuRepeatOnce, CHW_MNUREPEATONCE, "", true);
    set(MainCtl::mnuRepeatEveryDay, CHW_MNUREPEATEVERYDAY);
    set(MainCtl::mnuRepeatWeekdays, CHW_MNUREPEATWEEKDAYS);
    set(MainCtl::mnuRepeatEveryWeek, CHW_MNUREPEATEVERYWEEK);
    set(MainCtl::mnuRingAgain, CHW_MNURINGAGAIN);
    controls[MainCtl::mnuRingAgain].enabled = false;  // offered only while the alarm rings
    set(MainCtl::mnuExitApp, CHW_MNUEXITAPP);
    set(MainCtl::mnuConfigureWinAmp, CHW_MNUCONFIGUREWINAMP);
    set(MainCtl::mnuHelp, CHW_MNUHELP);
    set(MainCtl::mnuContents, CHW_MNUCONTENTS);
    set(MainCtl::mnuUpdate, CHW_MNUUPDATE);
    set(MainCtl::mnuAbout, CHW_MNUABOUT);
    set(MainCtl::mnuOptions, CHW_MNUOPTIONS);
    set(MainCtl::mnuShowApp, CHW_MNUSHOWAPP);
    set(MainCtl::mnuConfigure, CHW_MNUCONFIGURE);
    set(MainCtl::mnuStartWinAmp, CHW_MNUSTARTWINAMP);
    set(MainCtl::mnuCloseWinAmp, CHW_MNUCLOSEWINAMP);
    set(MainCtl::mnuSetAlarm, CHW_MNUSETALARM);
    set(MainCtl::mnuPopUpRingAgain, CHW_MNURINGAGAIN);
    controls[MainCtl::mnuPopUpRingAgain].enabled = false;
    set(MainCtl::mnuPopUpHelp, CHW_MNUPOPUPHELP);
    set(MainCtl::mnuExit, CHW_MNUEXIT);
}

void FakeMainView::ShowState(ShowCommand command) {
    showStates.push_back(command);
    if (command == ShowCommand::Hide) visible = false;
    else if (command == ShowCommand::Normal || command == ShowCommand::Restore) visible = true;
}

void FakeMainView::SetCalendarDate(const Date& day) {
    calendar = day;
    if (calendar.day > DaysIn(day.year, day.month)) calendar.day = DaysIn(day.year, day.month);
}

FakeIntroView::FakeIntroView(FakeScheduler& sched) : timer(sched, false, 1000), scheduler(sched) {
    using namespace texts;
    controls[IntroCtl::Label1] = ControlState{kIntroLabel1, "", true, false};
    controls[IntroCtl::Label2] = ControlState{kIntroLabel2, "", true, false};
    controls[IntroCtl::Label3] = ControlState{kIntroLabel3, "", true, false};
    controls[IntroCtl::label4] = ControlState{kIntroLabel4, "", true, false};
}

}  // namespace chw::fakes
