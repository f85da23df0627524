// A main window on fakes, with the settings key and the Run key present, for the menu and tray commands.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alarm/AlarmMoment.h"
#include "app/frmMain.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeViews.h"
#include "settings/SettingsSchema.h"

namespace chw::testing {

struct MainFormRig {
    fakes::FakeSystem sys;
    fakes::FakeMainView view{sys.scheduler, Date{2026, 12, 7}};
    Winamp_Access winamp{sys.platform};
    frmMain form{sys.platform, view, winamp};

    MainFormRig() {
        sys.registry.CreateKey(settings::kRoot, settings::kKey);
        sys.registry.CreateKey(settings::kRoot, settings::kRunKey);
        sys.files.AddFile(winamp::kFileTested);
    }
    void Answer(std::initializer_list<MbAnswer> answers) { sys.boxes.answers.assign(answers); }
    // Makes the write with this index (0 = first) fail.
    void FailWrite(int index) {
        sys.registry.fail = [this, index](const std::string& op, const std::string&, const std::string&) {
            return op == "write" && writeAttempts++ == index;
        };
    }
    void Launches(LaunchError error) {
        sys.processes.onLaunch = [error](const std::string&, WindowStyle) {
            return LaunchResult{error == LaunchError::None ? 7 : 0, error};
        };
    }
    int writeAttempts = 0;
};

using Strings = std::vector<std::string>;

// The alarm's state as the handlers leave it, for a test to start from.
struct StateOf {
    AlarmState& s;
    // Chosen: its texts, and its day as a date (US date format).
    StateOf& Chosen(const std::string& date, const std::string& time) {
        s.AlarmDate = date;
        s.AlarmTime = time;
        s.AlarmDay = alarm::ReadShortDate(date, "M/d/yyyy").value_or(Date{});
        return *this;
    }
    StateOf& Armed() {
        s.armed = s.activated = true;
        s.phase = AlarmPhase::Armed;
        return *this;
    }
    StateOf& Ringing(std::optional<WindowHandle> player) {
        s.fired = s.snoozeInMenu = s.activated = true;
        s.phase = AlarmPhase::Ringing;
        s.player = player;
        return *this;
    }
    // As the stop leaves it.
    StateOf& Stopped() {
        s.fired = false;
        s.phase = AlarmPhase::Idle;
        s.player.reset();
        return *this;
    }
    // Rang, snoozed from the tray and then disarmed: the button arms, nothing rings till then.
    StateOf& RangAndDisarmed() {
        s.fired = s.activated = true;
        s.armed = false;
        s.phase = AlarmPhase::Idle;
        return *this;
    }
};
inline StateOf Given(frmMain& form) { return {form.State()}; }

}  // namespace chw::testing
