// The shared set-up of the scenarios around the alarm (shutdown, tray, options, help): one started
// program with its main window's controls, and the steps several of them take.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>

#include "Driver.h"
#include "resource.h"

namespace e2e {

inline constexpr const char* kTrayTip = "Chimewell(tm) - Right Click For Options";
inline constexpr const char* kCloseTitle = "Close Chimewell?";
inline constexpr const char* kProgramCommand = "c:\\Program Files\\Tallowmer\\CHWL\\CHWLU.EXE";

inline SYSTEMTIME Today() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t;
}

// The alarm time these scenarios choose: late enough to lie ahead all day but the last minutes.
inline constexpr const char* kTypedTime = "11:59";
inline constexpr const char* kAlarmTime = "11:59 PM";
inline bool TooLateForTheAlarm() {
    SYSTEMTIME t = Today();
    return t.wHour == 23 && t.wMinute >= 58;
}

class AroundRig : public ::testing::Test {
protected:
    // Installs the program (and the stand-in player when asked), starts it and waits for its main window.
    // With x86Only the player lies only in the 32-bit programs folder, and the classic folder is absent.
    void Start(bool player = false, bool x86Only = false) {
        InstallProgram();
        if (!x86Only) MakeWinampFolderOnly();
        if (player) InstallPlayer(x86Only ? kWinampX86Dir : kWinampDir);
        ASSERT_NO_FATAL_FAILURE(StartAgain());
    }

    // Starts the installed program once more and waits for its main window to show.
    void StartAgain() {
        ASSERT_TRUE(StartProgram(app_));
        HWND main = nullptr;
        ASSERT_TRUE(WaitUntil([&] { main = FindMainWindow(app_.Id()); return Visible(main); }, 30000))
            << "the main window never showed";
        c_ = FindControls(main);
        ASSERT_TRUE(c_.monthView && c_.txtTime && c_.cmdSet && c_.cmdReset && c_.statusBar && c_.lblDate);
        // The start-up ends with the splash gone and the focus on the arm button.
        WaitUntil([&] { return FocusOf(main) == c_.cmdSet && !Visible(FindSplash(app_.Id())); }, 5000);
        ASSERT_TRUE(BringToFront(main));
    }

    // A real click on today in the calendar, confirmed by the date label.
    void PickToday() {
        const std::string date = ShortDate(Today());
        ASSERT_TRUE(CalendarCell(c_.monthView, Today())) << "the calendar does not show today";
        if (!Confirmed("the day click", [&] { ClickDay(c_, Today()); }, [&] { return Text(c_.lblDate) == date; })) {
            Screenshot("day-not-taken");
            FAIL() << "the day click was not taken: date label \"" << Text(c_.lblDate) << "\"";
        }
    }

    // Today and 11:59 PM through the calendar, the time box and the AM/PM question.
    void ChooseAlarmForToday() {
        const std::string date = ShortDate(Today());
        ASSERT_TRUE(BringToFront(c_.main));  // a click into a window that is not in front may only activate it
        ASSERT_NO_FATAL_FAILURE(PickToday());
        ASSERT_TRUE(TypeTimeAndLeave(c_, kTypedTime));
        auto ampm = WaitMsgBoxTitled(app_.Id(), "AM/PM Query:", 10000);
        ASSERT_TRUE(ampm) << "no AM/PM question";
        PressButton(ampm->hwnd, IDNO);
        ASSERT_TRUE(WaitGone(ampm->hwnd, 5000));
        ASSERT_TRUE(WaitUntil([&] { return StatusText(c_) == ChosenSummary(); }, 5000)) << StatusText(c_);
    }

    static std::string ChosenSummary() {
        return "Alarm Settings: OFF  Date: " + ShortDate(Today()) + " Time: " + kAlarmTime + " ALARM IS SET.";
    }

    // Answers a box that must come now; returns its text.
    std::string Answer(const std::string& title, int button) {
        auto box = WaitMsgBoxTitled(app_.Id(), title, 10000);
        if (!box) {
            ADD_FAILURE() << "no box \"" << title << "\"";
            return {};
        }
        PressButton(box->hwnd, button);
        EXPECT_TRUE(WaitGone(box->hwnd, 5000));
        return box->text;
    }

    // A shortcut key, typed into the main window.
    void Shortcut(WORD vk, bool ctrl = false) {
        ASSERT_TRUE(BringToFront(c_.main));
        RealKey(vk, ctrl);
    }

    std::string Text(HWND h) { return TextOf(h).value_or("<no answer>"); }
    std::string Setting(const char* name) { return ReadValue(kSettingsKey, name).value_or("<missing>"); }

    Process app_;
    MainControls c_;
};

}  // namespace e2e
