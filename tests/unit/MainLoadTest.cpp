// The main window's load: caption, restore of a saved alarm, the two start options and today's date.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/frmMain.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeViews.h"
#include "winamp/Winamp_Access.h"

namespace chw {
namespace {

constexpr const char* kKey = "SOFTWARE\\TALLOWMERE\\CHWL\\";
constexpr const char* kDesignedStatus = "Look Here For Important Information";

class MainLoad : public ::testing::Test {
protected:
    fakes::FakeSystem sys;
    fakes::FakeMainView view{sys.scheduler, sys.clock.Now().date};
    Winamp_Access winamp{sys.platform};
    frmMain main{sys.platform, view, winamp};

    void SetUp() override {
        sys.registry.Put(kKey, "StartInTray", "No");
        sys.registry.Put(kKey, "WinAmpOnStart", "No");
    }
    void Store(const char* name, const std::optional<std::string>& data) {
        if (data) sys.registry.Put(kKey, name, *data);
        else sys.registry.Delete(kKey, name);
    }
    std::vector<std::string> Reads() const {
        std::vector<std::string> out;
        for (const auto& line : sys.registry.log)
            if (line.rfind("read ", 0) == 0) out.push_back(line.substr(line.find('|') + 1));
        return out;
    }
};

TEST_F(MainLoad, CaptionCarriesTheVersionWithMinorAndRevisionRunTogether) {
    struct Case {
        Version version;
        const char* caption;
    };
    for (Case c : {Case{{3, 1, 2}, "Chimewell System For Windows 3.12"}, Case{{1, 0, 0}, "Chimewell System For Windows 1.00"},
                   Case{{2, 10, 3}, "Chimewell System For Windows 2.103"}}) {
        fakes::FakeSystem s;
        s.registry.Put(kKey, "WinAmpOnStart", "No");
        s.runtime.version = c.version;
        fakes::FakeMainView v{s.scheduler, s.clock.Now().date};
        Winamp_Access w{s.platform};
        frmMain m{s.platform, v, w};
        m.Form_Load();
        EXPECT_EQ(v.Caption(MainCtl::Form), c.caption);
    }
}

TEST_F(MainLoad, GreysTheCloseCommandAndDisablesClear) {
    view.handle = sys.windows.Add("ThunderRT6FormDC", "Chimewell System For Windows");
    main.Form_Load();
    const fakes::FakeWindow& window = sys.windows.windows.at(view.handle);
    EXPECT_NE(window.systemMenuIds[6], 0xF060);  // the Close item at position 6 is replaced
    ASSERT_EQ(window.modifiedMenu.size(), 1u);
    EXPECT_EQ(window.modifiedMenu.begin()->second.second, "&Close");
    EXPECT_FALSE(view.Enabled(MainCtl::cmdReset));
}

TEST_F(MainLoad, RestoresOnlyAFullySavedAlarmWhoseFlagReadsYes) {
    struct Case {
        const char* name;
        std::optional<std::string> saved, date, time;
        bool restored;
    };
    const Case cases[] = {
        {"saved", "Yes", "6/15/2024", "7:05 AM", true},
        {"flag with more letters", "Yesterday", "6/15/2024", "7:05 AM", true},
        {"lower case flag", "yes", "6/15/2024", "7:05 AM", false},
        {"flag No", "No", "6/15/2024", "7:05 AM", false},
        {"no flag", std::nullopt, "6/15/2024", "7:05 AM", false},
        {"date missing", "Yes", std::nullopt, "7:05 AM", false},
        {"time missing", "Yes", "6/15/2024", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::FakeSystem s;
        s.registry.Put(kKey, "StartInTray", "No");
        s.registry.Put(kKey, "WinAmpOnStart", "No");
        if (c.saved) s.registry.Put(kKey, "SettingsSaved", *c.saved);
        if (c.date) s.registry.Put(kKey, "Date:", *c.date);
        if (c.time) s.registry.Put(kKey, "Time:", *c.time);
        fakes::FakeMainView v{s.scheduler, s.clock.Now().date};
        Winamp_Access w{s.platform};
        frmMain m{s.platform, v, w};
        m.Form_Load();

        if (c.restored) {
            EXPECT_EQ(m.AlarmDate, "6/15/2024");
            EXPECT_EQ(m.AlarmTime, "7:05 AM");
            EXPECT_EQ(m.StartupStatusText, "Alarm Settings: OFF  Date: 6/15/2024 Time: 7:05 AM ALARM IS SET.");
            EXPECT_EQ(v.Caption(MainCtl::lblDate), "6/15/2024");
            EXPECT_EQ(v.Caption(MainCtl::txtTime), "7:05 AM");
            EXPECT_TRUE(v.Enabled(MainCtl::cmdReset));
            EXPECT_FALSE(v.Enabled(MainCtl::mnuStartInSystemTray));
        } else {
            EXPECT_EQ(m.AlarmDate, "");
            EXPECT_EQ(m.AlarmTime, "");
            EXPECT_EQ(m.StartupStatusText, "");
            EXPECT_EQ(v.Caption(MainCtl::lblDate), "");
            EXPECT_EQ(v.Caption(MainCtl::txtTime), "");
            EXPECT_FALSE(v.Enabled(MainCtl::cmdReset));
            EXPECT_TRUE(v.Enabled(MainCtl::mnuStartInSystemTray));
        }
        // Nothing is written by the load, whatever it found.
        EXPECT_TRUE(s.registry.Writes().empty());
        EXPECT_FALSE(s.runtime.ended);
    }
}

TEST_F(MainLoad, ReadsInTheSavedOrderAndSkipsTheAlarmWhenNotSaved) {
    Store("SettingsSaved", "Yes");
    Store("Date:", "6/15/2024");
    Store("Time:", "7:05 AM");
    main.Form_Load();
    EXPECT_EQ(Reads(), (std::vector<std::string>{"SettingsSaved", "Date:", "Time:", "StartInTray", "WinAmpOnStart"}));

    fakes::FakeSystem s;
    s.registry.Put(kKey, "SettingsSaved", "No");
    s.registry.Put(kKey, "Date:", "6/15/2024");
    s.registry.Put(kKey, "WinAmpOnStart", "No");
    fakes::FakeMainView v{s.scheduler, s.clock.Now().date};
    Winamp_Access w{s.platform};
    frmMain m{s.platform, v, w};
    m.Form_Load();
    for (const auto& line : s.registry.log) EXPECT_EQ(line.find("Date:"), std::string::npos) << line;
}

TEST_F(MainLoad, StartInTrayLeavesTheMarkForTheStartUp) {
    struct Case {
        std::optional<std::string> stored;
        bool inTray;
    };
    for (Case c : {Case{"Yes", true}, Case{"Yes please", true}, Case{"YES", false}, Case{"No", false},
                   Case{std::nullopt, false}}) {
        SCOPED_TRACE(c.stored.value_or("(missing)"));
        fakes::FakeSystem s;
        s.registry.Put(kKey, "WinAmpOnStart", "No");
        if (c.stored) s.registry.Put(kKey, "StartInTray", *c.stored);
        fakes::FakeMainView v{s.scheduler, s.clock.Now().date};
        Winamp_Access w{s.platform};
        frmMain m{s.platform, v, w};
        m.Form_Load();
        EXPECT_EQ(m.WinampWindowText, c.inTray ? "In Tray" : "");
        EXPECT_EQ(v.Checked(MainCtl::mnuStartInSystemTray), c.inTray);
        EXPECT_FALSE(s.runtime.ended);
    }
}

TEST_F(MainLoad, RestoredAlarmWithTrayStartKeepsTheItemCheckedAndDisabled) {
    Store("SettingsSaved", "Yes");
    Store("Date:", "6/15/2024");
    Store("Time:", "7:05 AM");
    Store("StartInTray", "Yes");
    main.Form_Load();
    EXPECT_TRUE(view.Checked(MainCtl::mnuStartInSystemTray));
    EXPECT_FALSE(view.Enabled(MainCtl::mnuStartInSystemTray));
    EXPECT_EQ(main.WinampWindowText, "In Tray");
}

TEST_F(MainLoad, WinampOnStart) {
    struct Case {
        const char* name;
        std::optional<std::string> stored;
        bool launchWorks;
        bool launched, itemChecked;
        const char* status;
    };
    const Case cases[] = {
        {"off", "No", true, false, false, kDesignedStatus},
        {"on, starts", "Yes", true, true, true, "WinAmp Activated!  Ready."},
        {"on with more letters", "Yesss", true, true, true, "WinAmp Activated!  Ready."},
        {"lower case is off", "yes", true, false, false, kDesignedStatus},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::FakeSystem s;
        s.registry.Put(kKey, "StartInTray", "No");
        s.registry.Put(kKey, "WinAmpOnStart", *c.stored);
        fakes::FakeMainView v{s.scheduler, s.clock.Now().date};
        Winamp_Access w{s.platform};
        frmMain m{s.platform, v, w};
        m.Form_Load();

        ASSERT_EQ(s.processes.launches.size(), c.launched ? 1u : 0u);
        if (c.launched) {
            EXPECT_EQ(s.processes.launches[0].commandLine, "c:\\program files\\winamp\\winamp.exe");
            EXPECT_EQ(s.processes.launches[0].style, WindowStyle::MinimizedNoFocus);
        }
        EXPECT_EQ(v.Checked(MainCtl::mnuLoadWinAmpOnStart), c.itemChecked);
        EXPECT_EQ(v.Status(), c.status);
        EXPECT_TRUE(s.boxes.shown.empty());
        EXPECT_EQ(s.runtime.pauses, std::vector<int>{1000});
        EXPECT_FALSE(s.runtime.ended);
    }
}

// Both fatal paths close the window (its close question comes up) and end the program even when the
// user answers No there.
TEST_F(MainLoad, FatalPathsCloseTheWindowAndEnd) {
    struct Case {
        const char* name;
        bool readFails;
        const char* title;
        const char* text;
        std::vector<int> pauses;
        const char* statusBeforeBox;
    };
    const Case cases[] = {
        {"WinAmpOnStart unreadable", true, "ERROR!",
         "There was an error writing to the registry!\r\nPlease restart your computer!", {}, kDesignedStatus},
        {"player does not start", false, "ERROR LOADING WINAMP!",
         "WinAmp couldn't be activated!\rChimewell will now terminate!", {2000}, "Loading WinAmp Has Failed!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::FakeSystem s;
        s.registry.Put(kKey, "StartInTray", "No");
        if (!c.readFails) s.registry.Put(kKey, "WinAmpOnStart", "Yes");
        s.processes.onLaunch = [](const std::string&, WindowStyle) { return LaunchResult{0, LaunchError::FileNotFound}; };
        fakes::FakeMainView v{s.scheduler, s.clock.Now().date};
        Winamp_Access w{s.platform};
        frmMain m{s.platform, v, w};
        std::string statusAtBox;
        std::vector<int> pausesAtBox;
        s.boxes.onShow = [&](const fakes::ShownBox& box) {
            if (box.title != c.title) return;
            statusAtBox = v.Status();
            pausesAtBox = s.runtime.pauses;
        };
        s.boxes.answers = {MbAnswer::Ok, MbAnswer::No};
        m.Form_Load();

        ASSERT_GE(s.boxes.shown.size(), 2u);
        EXPECT_EQ(s.boxes.shown[0].title, c.title);
        EXPECT_EQ(s.boxes.shown[0].text, c.text);
        EXPECT_EQ(s.boxes.shown[0].icon, MbIcon::Critical);
        EXPECT_EQ(s.boxes.shown[0].buttons, MbButtons::Ok);
        EXPECT_EQ(statusAtBox, c.statusBeforeBox);
        EXPECT_EQ(pausesAtBox, c.pauses);
        EXPECT_EQ(s.boxes.shown[1].title, "Close Chimewell?");
        EXPECT_EQ(s.runtime.endCalls, 1);
        // It stops there: today's parts are never taken.
        EXPECT_EQ(m.TodayMonth, "");
        EXPECT_EQ(s.runtime.pauses, c.pauses);
    }
}

TEST_F(MainLoad, TodaysPartsComeFromTheDateWhateverItsFormat) {
    using Format = fakes::FakeClock::DateFormat;
    struct Case {
        Date today;
        Format format;
        const char *month, *day, *year;
    };
    const Case cases[] = {
        {{2024, 1, 5}, Format::US, "1", "5", "2024"},
        {{2024, 1, 15}, Format::US, "1", "15", "2024"},
        {{2024, 12, 5}, Format::US, "12", "5", "2024"},
        {{2024, 12, 15}, Format::US, "12", "15", "2024"},
        {{2024, 12, 15}, Format::UK, "12", "15", "2024"},  // 15/12/2024: cutting the text would say month 15
        {{2025, 3, 9}, Format::German, "3", "9", "2025"},
        {{2025, 3, 9}, Format::ISO, "3", "9", "2025"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.today.year << "-" << c.today.month << "-" << c.today.day);
        fakes::FakeSystem s;
        s.registry.Put(kKey, "WinAmpOnStart", "No");
        fakes::FakeMainView v{s.scheduler, {2020, 7, 20}};
        s.clock.Set({c.today, 8, 30, 0});
        s.clock.dateFormat = c.format;
        Winamp_Access w{s.platform};
        frmMain m{s.platform, v, w};
        m.Form_Load();
        EXPECT_EQ(m.TodayMonth, c.month);
        EXPECT_EQ(m.TodayDay, c.day);
        EXPECT_EQ(m.TodayYear, c.year);
        EXPECT_EQ(v.CalendarDate(), c.today);
        EXPECT_EQ(s.runtime.pauses, std::vector<int>{1000});
    }
}

}  // namespace
}  // namespace chw
