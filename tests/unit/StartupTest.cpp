// The start-up: single-instance check, player check, first-start defaults, splash timing and hand-over.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

#include "app/frmIntro.h"
#include "app/frmMain.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeViews.h"
#include "settings/SettingsSchema.h"
#include "winamp/Winamp_Access.h"

namespace chw {
namespace {

using fakes::FakeMainView;

constexpr const char* kKey = "SOFTWARE\\TALLOWMERE\\CHWL\\";
constexpr const char* kRegistryError = "There was an error writing to the registry!\r\nPlease restart your computer!";

// Remembers which inputs were enabled when the window was shown.
struct RecordingMainView : FakeMainView {
    using FakeMainView::FakeMainView;
    std::vector<bool> enabledAtShow;
    void Show() override {
        for (MainCtl c : {MainCtl::MonthView, MainCtl::cmdSet, MainCtl::mnuHelp, MainCtl::mnuSettings})
            enabledAtShow.push_back(Enabled(c));
        FakeMainView::Show();
    }
};

// Builds the main window on demand. By default it runs the real load; a test may script the load instead.
struct TestLoader : IMainLoader {
    fakes::FakeSystem& sys;
    std::unique_ptr<RecordingMainView> view;
    std::unique_ptr<Winamp_Access> winamp;
    std::unique_ptr<frmMain> main;
    std::function<void(frmMain&, FakeMainView&)> scriptedLoad;
    int loads = 0;
    std::int64_t loadedAtMs = -1;

    explicit TestLoader(fakes::FakeSystem& s) : sys(s) {}

    frmMain& LoadMainWindow() override {
        ++loads;
        loadedAtMs = sys.scheduler.nowMs;
        view = std::make_unique<RecordingMainView>(sys.scheduler, sys.clock.Now().date);
        winamp = std::make_unique<Winamp_Access>(sys.platform);
        main = std::make_unique<frmMain>(sys.platform, *view, *winamp);
        if (scriptedLoad) scriptedLoad(*main, *view);
        else main->Form_Load();
        return *main;
    }
};

class Startup : public ::testing::Test {
protected:
    fakes::FakeSystem sys;
    fakes::FakeIntroView intro{sys.scheduler};
    TestLoader loader{sys};
    frmIntro form{sys.platform, intro, loader};

    void SetUp() override {
        sys.files.AddFolder("c:\\Program Files\\Winamp");
        intro.timer.onTick = [this] { form.MyTimer_Timer(); };
    }
    void Later() {  // a machine that has run the program before
        sys.registry.Put(kKey, "StartInTray", "No");
        sys.registry.Put(kKey, "WinAmpOnStart", "No");
    }
};

// ---- Single-instance check ----

struct InstanceCase {
    const char* windowClass;
    bool minimized;
};

class PreviousInstance : public ::testing::TestWithParam<InstanceCase> {};

TEST_P(PreviousInstance, BringsTheRunningMainWindowForwardAndKeepsTheHiddenTitle) {
    fakes::FakeSystem sys;
    WindowHandle mainWindow = sys.windows.Add("ThunderRT6FormDC", "Chimewell System For Windows 1.00");
    sys.windows.windows[mainWindow].minimized = GetParam().minimized;
    WindowHandle app = sys.windows.Add(GetParam().windowClass, "Chimewell System");
    sys.windows.windows[app].mainWindow = mainWindow;

    EXPECT_TRUE(ActivatePreviousInstance(sys.platform));
    EXPECT_EQ(sys.runtime.title, "unwanted instance");
    EXPECT_EQ(sys.windows.broughtToFront, std::vector<WindowHandle>{mainWindow});
    EXPECT_FALSE(sys.windows.IsMinimized(mainWindow));
    EXPECT_EQ(sys.windows.shows.size(), GetParam().minimized ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(EachClass, PreviousInstance,
                         ::testing::Values(InstanceCase{"ThunderRTMain", false}, InstanceCase{"ThunderRT5Main", true},
                                           InstanceCase{"ThunderRT6Main", false}, InstanceCase{"ThunderRT6Main", true}),
                         [](const ::testing::TestParamInfo<InstanceCase>& param) {
                             return std::string(param.param.windowClass) + (param.param.minimized ? "Minimised" : "Shown");
                         });

TEST(PreviousInstanceSearch, OnlyTheTitleInTheThreeClassesCounts) {
    struct Case {
        const char* windowClass;
        const char* title;
    };
    const Case lookalikes[] = {
        {"ThunderRT6Main", "unwanted instance"},    // another instance that is itself giving up
        {"ThunderRT6Main", "Chimewell system"},     // the caption must match exactly
        {"ThunderRT6FormDC", "Chimewell System"},   // a window of another class
    };
    for (const Case& c : lookalikes) {
        SCOPED_TRACE(std::string(c.windowClass) + " / " + c.title);
        fakes::FakeSystem sys;
        sys.windows.Add(c.windowClass, c.title);
        EXPECT_FALSE(ActivatePreviousInstance(sys.platform));
        EXPECT_EQ(sys.runtime.title, "Chimewell System");
        EXPECT_TRUE(sys.windows.broughtToFront.empty());
    }
}

TEST(PreviousInstanceSearch, ClassesAreSearchedInOrder) {
    fakes::FakeSystem sys;
    WindowHandle later = sys.windows.Add("ThunderRT6Main", "Chimewell System");
    WindowHandle first = sys.windows.Add("ThunderRTMain", "Chimewell System");
    sys.windows.windows[later].mainWindow = sys.windows.Add("ThunderRT6FormDC");
    sys.windows.windows[first].mainWindow = sys.windows.Add("ThunderRTFormDC");
    EXPECT_TRUE(ActivatePreviousInstance(sys.platform));
    EXPECT_EQ(sys.windows.broughtToFront, std::vector<WindowHandle>{sys.windows.windows[first].mainWindow});
}

TEST_F(Startup, SecondInstanceEndsSilentlyWithoutSplash) {
    WindowHandle app = sys.windows.Add("ThunderRT6Main", "Chimewell System");
    sys.windows.windows[app].mainWindow = sys.windows.Add("ThunderRT6FormDC");
    form.Form_Load();
    EXPECT_EQ(sys.runtime.endCalls, 1);
    EXPECT_TRUE(sys.boxes.shown.empty());
    EXPECT_TRUE(sys.registry.log.empty());
    EXPECT_EQ(intro.shows, 0);
    EXPECT_TRUE(intro.unloaded);
    EXPECT_EQ(loader.loads, 0);
}

// ---- Player check ----

TEST_F(Startup, FolderOrProgramFileIsEnough) {
    struct Case {
        bool folder, file, passes;
    };
    for (Case c : {Case{true, false, true}, Case{false, true, true}, Case{false, false, false}}) {
        SCOPED_TRACE(::testing::Message() << "folder " << c.folder << " file " << c.file);
        fakes::FakeSystem s;
        fakes::FakeIntroView v{s.scheduler};
        TestLoader l{s};
        frmIntro f{s.platform, v, l};
        v.timer.onTick = [&] { f.MyTimer_Timer(); };
        if (c.folder) s.files.AddFolder("C:\\Program Files\\Winamp");
        if (c.file) s.files.AddFile("c:\\Program Files\\Winamp\\Winamp.exe");
        f.Form_Load();
        EXPECT_EQ(l.loads, c.passes ? 1 : 0);
        EXPECT_EQ(s.runtime.ended, !c.passes);
        EXPECT_EQ(s.boxes.shown.size(), c.passes ? 0u : 5u);
    }
}

TEST_F(Startup, MissingPlayerShowsFiveBoxesInOrderAndWritesNothing) {
    sys.files.folders.clear();
    form.Form_Load();

    struct Expected {
        const char* title;
        MbIcon icon;
        const char* firstLine;
    };
    const Expected expected[] = {
        {"WinAmp Is Not Installed!", MbIcon::Critical, "This program requires Nullsoft WinAmp!"},
        {"Chimewell\u2122", MbIcon::Information, "If WinAmp is in fact installed on your machine,"},
        {"Making WinAmp The Default Media Player", MbIcon::Information, "To make WinAmp your default Media Player:"},
        {"Make Necessary Changes", MbIcon::Information,
         "Please rename the folder, if necessary to reflect where the application is looking!"},
        {"ERROR!", MbIcon::Critical, "WinAmp Detection Failure!"},
    };
    ASSERT_EQ(sys.boxes.shown.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        const auto& box = sys.boxes.shown[i];
        SCOPED_TRACE(box.title);
        EXPECT_EQ(box.title, expected[i].title);
        EXPECT_EQ(box.icon, expected[i].icon);
        EXPECT_EQ(box.buttons, MbButtons::Ok);
        EXPECT_EQ(box.text.substr(0, box.text.find('\r')), expected[i].firstLine);
        // Every line break is CR+LF.
        for (size_t p = box.text.find('\n'); p != std::string::npos; p = box.text.find('\n', p + 1))
            EXPECT_EQ(box.text[p - 1], '\r');
    }
    EXPECT_EQ(sys.boxes.shown[1].text,
              "If WinAmp is in fact installed on your machine,\r\nit must be the Default Media Player,\r\n"
              "In Order For Chimewell\u2122 To Detect It!");

    EXPECT_TRUE(sys.registry.Writes().empty());
    EXPECT_FALSE(sys.registry.HasKey(kKey));
    EXPECT_EQ(sys.runtime.endCalls, 1);
    EXPECT_EQ(intro.shows, 0);  // the boxes come without the splash
    EXPECT_EQ(loader.loads, 0);
}

// ---- Version and first-start defaults ----

TEST_F(Startup, SplashShowsMajorAndMinorVersion) {
    Later();
    sys.runtime.version = {3, 1, 2};
    form.Form_Load();
    EXPECT_EQ(intro.Caption(IntroCtl::Label3), "Version 3.1");
}

TEST_F(Startup, RegistryFailureAtEachDefaultShowsOneBoxAndStops) {
    struct Case {
        const char* op;
        const char* name;
        std::vector<std::string> writtenBefore;
    };
    const Case cases[] = {
        {"create", "", {}},
        {"write", "StartInTray", {}},
        {"write", "WinAmpOnStart", {"StartInTray=No"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.op) + " " + c.name);
        fakes::FakeSystem s;
        fakes::FakeIntroView v{s.scheduler};
        TestLoader l{s};
        frmIntro f{s.platform, v, l};
        s.files.AddFolder("c:\\Program Files\\Winamp");
        s.registry.fail = [&](const std::string& op, const std::string&, const std::string& name) {
            return op == c.op && name == c.name;
        };
        f.Form_Load();

        ASSERT_EQ(s.boxes.shown.size(), 1u);
        EXPECT_EQ(s.boxes.shown[0].title, "ERROR!");
        EXPECT_EQ(s.boxes.shown[0].text, kRegistryError);
        EXPECT_EQ(s.boxes.shown[0].icon, MbIcon::Critical);
        EXPECT_EQ(s.registry.Writes(), c.writtenBefore);
        EXPECT_NE(s.registry.log.back().find(" FAILED"), std::string::npos) << "nothing tried after the failure";
        EXPECT_EQ(s.runtime.endCalls, 1);
        EXPECT_TRUE(v.unloaded);
        EXPECT_EQ(v.shows, 0);
        EXPECT_EQ(l.loads, 0);
    }
}

TEST_F(Startup, DefaultsFillOnlyWhatIsMissing) {
    struct Case {
        const char* name;
        std::optional<std::string> tray, winamp;
        std::vector<std::string> writes;
    };
    const Case cases[] = {
        {"first start", std::nullopt, std::nullopt, {"StartInTray=No", "WinAmpOnStart=No"}},
        {"later start keeps choices", "Yes", "Yes", {}},
        {"later start with No", "No", "No", {}},
        {"lost WinAmpOnStart", "Yes", std::nullopt, {"WinAmpOnStart=No"}},
        {"lost StartInTray", std::nullopt, "Yes", {"StartInTray=No"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::FakeSystem s;
        fakes::FakeIntroView v{s.scheduler};
        TestLoader l{s};
        l.scriptedLoad = [](frmMain&, FakeMainView&) {};  // the main load's own reads are not the point here
        frmIntro f{s.platform, v, l};
        v.timer.onTick = [&] { f.MyTimer_Timer(); };
        s.files.AddFolder("c:\\Program Files\\Winamp");
        if (c.tray) s.registry.Put(kKey, "StartInTray", *c.tray);
        if (c.winamp) s.registry.Put(kKey, "WinAmpOnStart", *c.winamp);
        f.Form_Load();

        EXPECT_EQ(s.registry.Writes(), c.writes);
        EXPECT_EQ(s.registry.Value(kKey, "StartInTray"), c.tray.value_or("No"));
        EXPECT_EQ(s.registry.Value(kKey, "WinAmpOnStart"), c.winamp.value_or("No"));
        EXPECT_TRUE(s.boxes.shown.empty());
        EXPECT_EQ(l.loads, 1);
    }
}

// ---- Splash ----

TEST_F(Startup, BarFillsInAboutThreeAndAHalfSeconds) {
    Later();
    std::vector<bool> visibleBeforeTick;
    intro.timer.onTick = [&] {
        visibleBeforeTick.push_back(intro.visible);
        form.MyTimer_Timer();
    };
    form.Form_Load();

    const std::vector<std::int64_t> expectedTimes{100, 200, 300, 400, 500, 600, 700, 800, 2100, 3400};
    EXPECT_EQ(intro.valueTimes, expectedTimes);
    EXPECT_EQ(intro.value, 10);
    EXPECT_EQ(intro.repaintsAtValue, (std::vector<int>{5, 8}));
    ASSERT_FALSE(visibleBeforeTick.empty());
    EXPECT_FALSE(visibleBeforeTick[0]);  // the first tick is what shows the splash
    EXPECT_TRUE(visibleBeforeTick[1]);
    EXPECT_EQ(intro.timer.history,
              (std::vector<std::string>{"interval 100", "on", "interval 1300", "off", "interval 0"}));
    EXPECT_EQ(loader.loadedAtMs, 3400);
}

TEST_F(Startup, FailingTickEndsSilently) {
    struct ThrowingIntro : fakes::FakeIntroView {
        using FakeIntroView::FakeIntroView;
        void Repaint() override { throw std::runtime_error("paint"); }
    } view{sys.scheduler};
    frmIntro f{sys.platform, view, loader};
    view.value = 4;
    EXPECT_NO_THROW(f.MyTimer_Timer());
    EXPECT_EQ(view.value, 5);
}

// ---- Hand-over ----

TEST_F(Startup, HandOverShowsTheWindowOrLeavesItInTheTray) {
    struct Case {
        const char* name;
        bool inTray;
        const char* restored;
    };
    const Case cases[] = {
        {"shown, nothing restored", false, ""},
        {"shown, alarm restored", false, "Alarm Settings: OFF  Date: 6/15/2024 Time: 7:05 AM ALARM IS SET."},
        {"in tray, alarm restored", true, "Alarm Settings: OFF  Date: 6/15/2024 Time: 7:05 AM ALARM IS SET."},
    };
    constexpr MainCtl inputs[] = {MainCtl::cmdSet, MainCtl::mnuHelp, MainCtl::mnuSettings, MainCtl::MonthView};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::FakeSystem s;
        fakes::FakeIntroView v{s.scheduler};
        TestLoader l{s};
        frmIntro f{s.platform, v, l};
        v.timer.onTick = [&] { f.MyTimer_Timer(); };
        s.files.AddFolder("c:\\Program Files\\Winamp");
        s.registry.Put(kKey, "StartInTray", "No");
        s.registry.Put(kKey, "WinAmpOnStart", "No");
        l.scriptedLoad = [&](frmMain& main, FakeMainView& view) {
            main.StartupStatusText = c.restored;
            if (c.inTray) {  // what going to the tray during the load leaves behind
                main.WinampWindowText = "In Tray";
                view.tray.shown = true;
            }
        };
        bool checkedDuringPause = false;
        s.runtime.onPause = [&](int ms) {
            if (ms != 1000) return;
            checkedDuringPause = true;
            EXPECT_FALSE(v.visible);
            EXPECT_FALSE(l.view->visible);
            for (MainCtl ctl : inputs) EXPECT_FALSE(l.view->Enabled(ctl));
        };
        f.Form_Load();

        FakeMainView& view = *l.view;
        EXPECT_TRUE(checkedDuringPause);
        EXPECT_EQ(s.runtime.pauses, std::vector<int>{1000});
        EXPECT_EQ(view.visible, !c.inTray);
        // Shown with its inputs usable, so that its first focus is not the time box.
        EXPECT_EQ(l.view->enabledAtShow, c.inTray ? std::vector<bool>{} : std::vector<bool>(4, true));
        EXPECT_EQ(l.main->WinampWindowText, "");
        for (MainCtl ctl : inputs) EXPECT_TRUE(view.Enabled(ctl));
        EXPECT_EQ(view.Status(), c.restored);
        EXPECT_EQ(view.focusHistory, c.inTray ? std::vector<MainCtl>{} : std::vector<MainCtl>{MainCtl::cmdSet});
        EXPECT_TRUE(v.unloaded);
        EXPECT_FALSE(s.runtime.ended);
    }
}

TEST_F(Startup, FirstStartRunsThroughToTheShownMainWindow) {
    form.Form_Load();
    ASSERT_EQ(loader.loads, 1);
    EXPECT_EQ(sys.registry.Value(kKey, "StartInTray"), "No");
    EXPECT_EQ(sys.registry.Value(kKey, "WinAmpOnStart"), "No");
    EXPECT_TRUE(sys.boxes.shown.empty());
    EXPECT_FALSE(sys.runtime.ended);
    EXPECT_TRUE(loader.view->visible);
    EXPECT_EQ(loader.view->Status(), "");
    EXPECT_EQ(loader.view->focusHistory, std::vector<MainCtl>{MainCtl::cmdSet});
    EXPECT_TRUE(intro.unloaded);
}

}  // namespace
}  // namespace chw
