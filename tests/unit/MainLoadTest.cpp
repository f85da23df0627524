// The main window's load: caption, restore of a saved alarm, the two start options and today's date.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "app/frmMain.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeViews.h"
#include "winamp/Winamp_Access.h"

namespace chw {
namespace {

using Stored = std::map<std::string, std::string>;
constexpr const char* kKey = "SOFTWARE\\TALLOWMERE\\CHWL\\";
constexpr const char* kDesignedStatus = "Look Here For Important Information";
constexpr const char* kRegistryError = "There was an error writing to the registry!\r\nPlease restart your computer!";

// A main window about to load, over a settings key that holds exactly the given values.
struct Load {
    fakes::FakeSystem sys;
    fakes::FakeMainView view{sys.scheduler, sys.clock.Now().date};
    Winamp_Access winamp{sys.platform};
    frmMain main{sys.platform, view, winamp};

    explicit Load(const Stored& values = {{"StartInTray", "No"}, {"WinAmpOnStart", "No"}}) {
        for (const auto& [name, data] : values) sys.registry.Put(kKey, name, data);
        sys.files.AddFile(winamp::kFileTested);
    }
    std::vector<std::string> Reads() const {
        std::vector<std::string> out;
        for (const auto& line : sys.registry.log)
            if (line.rfind("read ", 0) == 0) out.push_back(line.substr(line.find('|') + 1));
        return out;
    }
};

TEST(MainLoad, CaptionCarriesTheVersionWithMinorAndRevisionRunTogether) {
    for (auto [version, caption] : {std::pair{Version{3, 1, 2}, "Chimewell System For Windows 3.12"},
                                    std::pair{Version{1, 0, 0}, "Chimewell System For Windows 1.00"},
                                    std::pair{Version{2, 10, 3}, "Chimewell System For Windows 2.103"}}) {
        Load l;
        l.sys.runtime.version = version;
        l.main.Form_Load();
        EXPECT_EQ(l.view.Caption(MainCtl::Form), caption);
    }
}

TEST(MainLoad, GreysTheCloseCommandAndDisablesClear) {
    Load l;
    l.view.handle = l.sys.windows.Add("ThunderRT6FormDC", "Chimewell System For Windows");
    l.main.Form_Load();
    const fakes::FakeWindow& window = l.sys.windows.windows.at(l.view.handle);
    // The Close item at position 6 is replaced.
    EXPECT_EQ(window.greyedSystemMenu, (std::map<int, std::string>{{6, "&Close"}}));
    EXPECT_FALSE(l.view.Enabled(MainCtl::cmdReset));
}

TEST(MainLoad, RestoresOnlyAFullySavedAlarmWhoseFlagReadsYes) {
    struct Case {
        const char* name;
        std::optional<std::string> saved, date, time;
        bool restored;
    };
    const Case cases[] = {
        {"saved", "Yes", "6/15/2024", "7:05 AM", true},
        {"date saved under another format", "Yes", "15.06.2024", "7:05 AM", false},
        {"date edited by hand", "Yes", "June 15", "7:05 AM", false},
        {"no such day", "Yes", "2/30/2024", "7:05 AM", false},
        {"time not in the program's form", "Yes", "6/15/2024", "07:05", false},
        {"time that no clock shows", "Yes", "6/15/2024", "0:15 AM", false},
        {"flag with more letters", "Yesterday", "6/15/2024", "7:05 AM", true},
        {"lower case flag", "yes", "6/15/2024", "7:05 AM", false},
        {"flag No", "No", "6/15/2024", "7:05 AM", false},
        {"no flag", std::nullopt, "6/15/2024", "7:05 AM", false},
        {"date missing", "Yes", std::nullopt, "7:05 AM", false},
        {"time missing", "Yes", "6/15/2024", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Stored values{{"StartInTray", "No"}, {"WinAmpOnStart", "No"}};
        if (c.saved) values["SettingsSaved"] = *c.saved;
        if (c.date) values["Date:"] = *c.date;
        if (c.time) values["Time:"] = *c.time;
        Load l(values);
        l.main.Form_Load();

        const std::string date = c.restored ? "6/15/2024" : "", time = c.restored ? "7:05 AM" : "";
        EXPECT_EQ(l.main.State().AlarmDate, date);
        EXPECT_EQ(l.main.State().AlarmDay, (c.restored ? Date{2024, 6, 15} : Date{}));
        EXPECT_EQ(l.main.State().AlarmTime, time);
        EXPECT_EQ(l.view.Caption(MainCtl::lblDate), date);
        EXPECT_EQ(l.view.Caption(MainCtl::txtTime), time);
        EXPECT_EQ(l.main.Presenter().StartupStatus(),
                  c.restored ? "Alarm Settings: OFF  Date: 6/15/2024 Time: 7:05 AM ALARM IS SET." : "");
        EXPECT_EQ(l.view.Enabled(MainCtl::cmdReset), c.restored);
        EXPECT_EQ(l.view.Enabled(MainCtl::mnuStartInSystemTray), !c.restored);
        EXPECT_TRUE(l.sys.registry.Writes().empty());
        EXPECT_FALSE(l.sys.runtime.ended);
    }
}

TEST(MainLoad, ReadsInOrderAndLeavesTheAlarmAloneWhenNotSaved) {
    Load saved({{"SettingsSaved", "Yes"}, {"Date:", "6/15/2024"}, {"Time:", "7:05 AM"}, {"StartInTray", "No"},
                {"WinAmpOnStart", "No"}});
    saved.main.Form_Load();
    // The repeat rule and the armed alarm's record come after the saved one (missing here), and what last
    // rang only when there is an alarm.
    EXPECT_EQ(saved.Reads(), (std::vector<std::string>{"KeepAwake FAILED", "SettingsSaved", "Date:", "Time:",
                                                       "Repeat FAILED", "Armed FAILED", "Rung Date: FAILED", "Rung Time: FAILED",
                                                       "StartInTray", "WinAmpOnStart"}));
    EXPECT_FALSE(saved.view.Checked(MainCtl::mnuKeepAwake)) << "absent reads as No";

    Load notSaved({{"SettingsSaved", "No"}, {"Date:", "6/15/2024"}, {"StartInTray", "No"}, {"WinAmpOnStart", "No"}});
    notSaved.main.Form_Load();
    EXPECT_EQ(notSaved.Reads(),
              (std::vector<std::string>{"KeepAwake FAILED", "SettingsSaved", "Repeat FAILED", "Armed FAILED", "StartInTray",
                                        "WinAmpOnStart"}));

    Load keepAwake({{"StartInTray", "No"}, {"WinAmpOnStart", "No"}, {"KeepAwake", "Yes"}});
    keepAwake.main.Form_Load();
    EXPECT_TRUE(keepAwake.view.Checked(MainCtl::mnuKeepAwake));
}

TEST(MainLoad, StartInTrayLeavesTheMarkForTheStartUp) {
    struct Case {
        std::optional<std::string> stored;
        bool inTray;
    };
    for (Case c : {Case{"Yes", true}, Case{"Yes please", true}, Case{"YES", false}, Case{"No", false},
                   Case{std::nullopt, false}}) {
        SCOPED_TRACE(c.stored.value_or("(missing)"));
        Stored values{{"WinAmpOnStart", "No"}};
        if (c.stored) values["StartInTray"] = *c.stored;
        Load l(values);
        l.main.Form_Load();
        EXPECT_EQ(l.main.State().startsInTray, c.inTray);
        EXPECT_EQ(l.view.Checked(MainCtl::mnuStartInSystemTray), c.inTray);
        // A first start in the tray says where the icon is.
        EXPECT_EQ(l.view.tray.balloons.size(), c.inTray ? 1u : 0u);
        EXPECT_FALSE(l.sys.runtime.ended);
    }
}

TEST(MainLoad, WinampOnStart) {
    struct Case {
        const char* stored;
        bool launched;
    };
    for (Case c : {Case{"No", false}, Case{"Yes", true}, Case{"Yesss", true}, Case{"yes", false}}) {
        SCOPED_TRACE(c.stored);
        Load l({{"StartInTray", "No"}, {"WinAmpOnStart", c.stored}});
        l.main.Form_Load();

        ASSERT_EQ(l.sys.processes.launches.size(), c.launched ? 1u : 0u);
        if (c.launched) {
            EXPECT_EQ(l.sys.processes.launches[0].commandLine, "\"c:\\Program Files\\Winamp\\Winamp.exe\"");
            EXPECT_EQ(l.sys.processes.launches[0].style, WindowStyle::MinimizedNoFocus);
        }
        EXPECT_EQ(l.view.Checked(MainCtl::mnuLoadWinAmpOnStart), c.launched);
        EXPECT_EQ(l.view.Status(), c.launched ? "WinAmp Activated!  Ready." : kDesignedStatus);
        EXPECT_TRUE(l.sys.boxes.shown.empty());
        EXPECT_EQ(l.sys.runtime.pauses, std::vector<int>{1000});
    }
}

// Both fatal paths close the window (its close question comes up) and end the program even when the
// user answers No there.
TEST(MainLoad, FatalPathsCloseTheWindowAndEnd) {
    struct Case {
        const char* name;
        Stored values;
        const char* title;
        const char* text;
        std::vector<int> pauses;
        const char* statusAtBox;
        bool playerFile = true;
    };
    const Case cases[] = {
        {"WinAmpOnStart unreadable", {{"StartInTray", "No"}}, "ERROR!", kRegistryError, {}, kDesignedStatus},
        {"player does not start", {{"StartInTray", "No"}, {"WinAmpOnStart", "Yes"}}, "ERROR LOADING WINAMP!",
         "WinAmp couldn't be activated!\rChimewell will now terminate!", {2000}, "Loading WinAmp Has Failed!"},
        {"player nowhere", {{"StartInTray", "No"}, {"WinAmpOnStart", "Yes"}}, "ERROR LOADING WINAMP!",
         "WinAmp couldn't be activated!\rChimewell will now terminate!", {2000}, "Loading WinAmp Has Failed!", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load l(c.values);
        if (!c.playerFile) l.sys.files.RemoveFile(winamp::kFileTested);
        l.sys.processes.onLaunch = [](const std::string&, WindowStyle) {
            return LaunchResult{0, LaunchError::FileNotFound};
        };
        std::string statusAtBox;
        std::vector<int> pausesAtBox;
        l.sys.boxes.onShow = [&](const fakes::ShownBox& box) {
            if (box.title != c.title) return;
            statusAtBox = l.view.Status();
            pausesAtBox = l.sys.runtime.pauses;
        };
        l.sys.boxes.answers = {MbAnswer::Ok, MbAnswer::No};
        l.main.Form_Load();

        ASSERT_GE(l.sys.boxes.shown.size(), 2u);
        EXPECT_EQ(l.sys.boxes.shown[0].title, c.title);
        EXPECT_EQ(l.sys.boxes.shown[0].text, c.text);
        EXPECT_EQ(l.sys.boxes.shown[0].icon, MbIcon::Critical);
        EXPECT_EQ(l.sys.boxes.shown[0].buttons, MbButtons::Ok);
        EXPECT_EQ(statusAtBox, c.statusAtBox);
        EXPECT_EQ(pausesAtBox, c.pauses);
        EXPECT_EQ(l.sys.boxes.shown[1].title, "Close Chimewell?");
        EXPECT_EQ(l.sys.runtime.endCalls, 1);
        EXPECT_EQ(l.main.State().today, Date{});  // it stops there
        EXPECT_EQ(l.sys.runtime.pauses, c.pauses);
    }
}

TEST(MainLoad, TodaysPartsComeFromTheDateWhateverItsFormat) {
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
        Load l;
        l.view.calendar = {2020, 7, 20};
        l.sys.clock.Set({c.today, 8, 30, 0});
        l.sys.clock.dateFormat = c.format;
        l.main.Form_Load();
        EXPECT_EQ(std::to_string(l.main.State().today.month), c.month);
        EXPECT_EQ(std::to_string(l.main.State().today.day), c.day);
        EXPECT_EQ(std::to_string(l.main.State().today.year), c.year);
        EXPECT_EQ(l.view.CalendarDate(), c.today);
        EXPECT_EQ(l.sys.runtime.pauses, std::vector<int>{1000});
    }
}

}  // namespace
}  // namespace chw
