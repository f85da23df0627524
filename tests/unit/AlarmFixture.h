// A main window on fakes for the alarm tests, with the watch timer ticking into MyTimer_Timer.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "MainFormRig.h"
#include "winamp/Winamp_Access.h"

namespace chw::testing {

// An alarm as a restore or a pick leaves it.
inline void SetAlarm(frmMain& form, const std::string& date, const std::string& time) {
    Given(form).Chosen(date, time);
}

// The menu rig plus a ticking watch, a known today and a player that comes up when started.
struct AlarmRig : MainFormRig {
    AlarmRig() {
        view.timer.onTick = [this] { form.MyTimer_Timer(); };
        form.State().today = Date{2026, 12, 7};
        sys.files.AddFile(winamp::kFileTested);
        // Starting the player brings up its window, as the real one does.
        sys.processes.onLaunch = [this](const std::string&, WindowStyle) {
            sys.windows.AddPlayer();
            return LaunchResult{1, LaunchError::None};
        };
    }

    // Picks a day and types a time, answering the AM/PM question.
    void Choose(const Date& day, const std::string& typed, bool am) {
        form.MonthView_DateClick(day);
        form.txtTime_Click();
        view.SetCaption(MainCtl::txtTime, typed);
        sys.boxes.answers.push_back(am ? MbAnswer::Yes : MbAnswer::No);
        bool cancel = false;
        form.txtTime_Validate(cancel);
        ASSERT_FALSE(cancel);
    }

    long PlayMessages() const { return sys.windows.PlayCommands(); }

    // Lets the watch tick until the fake clock reaches the given time of day.
    void RunUntil(int hour, int minute, int second = 0) {
        auto secondOfDay = [](const DateTime& t) { return t.hour * 3600 + t.minute * 60 + t.second; };
        const int target = hour * 3600 + minute * 60 + second;
        while (secondOfDay(sys.clock.Now()) < target) {
            if (view.timer.Running())
                sys.runtime.DoEvents();
            else
                sys.scheduler.Advance(1000);
        }
    }
};

struct AlarmFixture : ::testing::Test, AlarmRig {};

}  // namespace chw::testing
