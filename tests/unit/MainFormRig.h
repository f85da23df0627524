// A main window on fakes, with the settings key and the Run key present, for the menu and tray commands.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace chw::testing
