// The start-up: single-instance check, player check, first-start defaults, splash timing and hand-over.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <tuple>

#include "MainFormRig.h"
#include "app/frmIntro.h"
#include "app/frmMain.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeViews.h"
#include "winamp/Winamp_Access.h"

namespace chw {
namespace {

using fakes::FakeMainView;
using Flag = std::optional<std::string>;

constexpr const char* kKey = "SOFTWARE\\TALLOWMERE\\CHWL\\";
constexpr MainCtl kInputs[] = {MainCtl::cmdSet, MainCtl::mnuHelp, MainCtl::mnuSettings, MainCtl::MonthView};

// Remembers whether the inputs were usable when the window was shown.
struct RecordingMainView : FakeMainView {
    using FakeMainView::FakeMainView;
    std::vector<bool> enabledAtShow;
    void Show() override {
        for (MainCtl c : kInputs) enabledAtShow.push_back(Enabled(c));
        FakeMainView::Show();
    }
};

// One start of the program on a fake machine whose player folder exists. The main window runs its real
// load unless a test scripts what the load leaves behind.
struct Start : IMainLoader {
    fakes::FakeSystem sys;
    fakes::FakeIntroView intro{sys.scheduler};
    std::unique_ptr<RecordingMainView> view;
    std::unique_ptr<Winamp_Access> winamp;
    std::unique_ptr<frmMain> main;
    std::function<void(frmMain&, FakeMainView&)> scriptedLoad;
    int loads = 0;
    std::int64_t loadedAtMs = -1;
    std::vector<std::int64_t> preparedAtMs;
    bool timerOnWhenPrepared = false;
    frmIntro form{sys.platform, intro, *this};

    Start(Flag tray = "No", Flag winampOnStart = "No") {
        sys.files.AddFolder("c:\\Program Files\\Winamp");
        if (tray) sys.registry.Put(kKey, "StartInTray", *tray);
        if (winampOnStart) sys.registry.Put(kKey, "WinAmpOnStart", *winampOnStart);
        intro.timer.onTick = [this] { form.MyTimer_Timer(); };
    }
    void PrepareMainWindow() override {
        preparedAtMs.push_back(sys.scheduler.nowMs);
        timerOnWhenPrepared = intro.timer.Enabled();
    }
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

// ---- Single-instance check ----

TEST(PreviousInstance, FoundInEachClassItsMainWindowComesForward) {
    for (const char* windowClass : {"ThunderRTMain", "ThunderRT5Main", "ThunderRT6Main"}) {
        for (bool minimized : {false, true}) {
            SCOPED_TRACE(::testing::Message() << windowClass << (minimized ? " minimised" : ""));
            fakes::FakeSystem sys;
            WindowHandle mainWindow = sys.windows.Add("ThunderRT6FormDC", "Chimewell System For Windows 1.00");
            sys.windows.windows[mainWindow].minimized = minimized;
            sys.windows.windows[sys.windows.Add(windowClass, "Chimewell System")].mainWindow = mainWindow;

            EXPECT_TRUE(ActivatePreviousInstance(sys.platform));
            EXPECT_EQ(sys.runtime.title, "unwanted instance");
            EXPECT_EQ(sys.windows.broughtToFront, std::vector<WindowHandle>{mainWindow});
            EXPECT_FALSE(sys.windows.IsMinimized(mainWindow));
            EXPECT_EQ(sys.windows.shows.size(), minimized ? 1u : 0u);
        }
    }
}

TEST(PreviousInstance, LookalikesAreNotFound) {
    const std::pair<const char*, const char*> lookalikes[] = {
        {"ThunderRT6Main", "unwanted instance"},   // another start that is itself giving up
        {"ThunderRT6Main", "Chimewell system"},    // the caption must match exactly
        {"ThunderRT6FormDC", "Chimewell System"},  // a window of another class
    };
    for (const auto& [windowClass, title] : lookalikes) {
        SCOPED_TRACE(std::string(windowClass) + " / " + title);
        fakes::FakeSystem sys;
        sys.windows.Add(windowClass, title);
        EXPECT_FALSE(ActivatePreviousInstance(sys.platform));
        EXPECT_EQ(sys.runtime.title, "Chimewell System");
        EXPECT_TRUE(sys.windows.broughtToFront.empty());
    }
}

TEST(PreviousInstance, ClassesAreSearchedInOrder) {
    fakes::FakeSystem sys;
    WindowHandle later = sys.windows.Add("ThunderRT6Main", "Chimewell System");
    WindowHandle first = sys.windows.Add("ThunderRTMain", "Chimewell System");
    sys.windows.windows[later].mainWindow = sys.windows.Add("ThunderRT6FormDC");
    sys.windows.windows[first].mainWindow = sys.windows.Add("ThunderRTFormDC");
    EXPECT_TRUE(ActivatePreviousInstance(sys.platform));
    EXPECT_EQ(sys.windows.broughtToFront, std::vector<WindowHandle>{sys.windows.windows[first].mainWindow});
}

TEST(Startup, SecondInstanceEndsSilentlyWithoutSplash) {
    Start s;
    WindowHandle app = s.sys.windows.Add("ThunderRT6Main", "Chimewell System");
    s.sys.windows.windows[app].mainWindow = s.sys.windows.Add("ThunderRT6FormDC");
    s.form.Form_Load();
    EXPECT_EQ(s.sys.runtime.endCalls, 1);
    EXPECT_TRUE(s.sys.boxes.shown.empty());
    EXPECT_TRUE(s.sys.registry.log.empty());
    EXPECT_EQ(s.intro.shows, 0);
    EXPECT_TRUE(s.intro.unloaded);
    EXPECT_EQ(s.loads, 0);
    EXPECT_TRUE(s.preparedAtMs.empty());
}

// ---- Player check ----

TEST(Startup, FolderOrProgramFileIsEnough) {
    struct Case {
        bool folder, file;
    };
    for (Case c : {Case{true, false}, Case{false, true}, Case{false, false}}) {
        SCOPED_TRACE(::testing::Message() << "folder " << c.folder << " file " << c.file);
        Start s;
        s.sys.files.folders.clear();
        if (c.folder) s.sys.files.AddFolder("C:\\Program Files\\Winamp");
        if (c.file) s.sys.files.AddFile("c:\\Program Files\\Winamp\\Winamp.exe");
        s.form.Form_Load();
        const bool passes = c.folder || c.file;
        EXPECT_EQ(s.loads, passes ? 1 : 0);
        EXPECT_EQ(s.preparedAtMs.size(), s.loads);
        EXPECT_EQ(s.sys.runtime.ended, !passes);
        EXPECT_EQ(s.sys.boxes.shown.size(), passes ? 0u : 5u);
    }
}

TEST(Startup, MissingPlayerShowsFiveBoxesInOrderAndWritesNothing) {
    Start s(std::nullopt, std::nullopt);  // even on a first start
    s.sys.files.folders.clear();
    s.sys.files.AddFolder("C:\\Program Files (x86)\\Other");
    s.form.Form_Load();

    const std::tuple<const char*, MbIcon, const char*> expected[] = {
        {"WinAmp Is Not Installed!", MbIcon::Critical, "This program requires Nullsoft WinAmp!"},
        {"Chimewell\u2122", MbIcon::Information, "If WinAmp is in fact installed on your machine,"},
        {"Making WinAmp The Default Media Player", MbIcon::Information, "To make WinAmp your default Media Player:"},
        {"Make Necessary Changes", MbIcon::Information,
         "Please rename the folder, if necessary to reflect where the application is looking!"},
        {"ERROR!", MbIcon::Critical, "WinAmp Detection Failure!"},
    };
    ASSERT_EQ(s.sys.boxes.shown.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        const auto& box = s.sys.boxes.shown[i];
        const auto& [title, icon, firstLine] = expected[i];
        SCOPED_TRACE(title);
        EXPECT_EQ(box.title, title);
        EXPECT_EQ(box.icon, icon);
        EXPECT_EQ(box.buttons, MbButtons::Ok);
        EXPECT_EQ(box.text.substr(0, box.text.find('\r')), firstLine);
        for (size_t p = box.text.find('\n'); p != std::string::npos; p = box.text.find('\n', p + 1))
            EXPECT_EQ(box.text[p - 1], '\r') << "lines end in CR+LF";
    }
    EXPECT_EQ(s.sys.boxes.shown[3].text,
              "Please rename the folder, if necessary to reflect where the application is looking!\r\n\r\n"
              "The application looks in: 'C:\\Program Files\\Winamp' or 'C:\\Program Files (x86)\\Winamp' "
              "for the Winamp Application");
    EXPECT_TRUE(s.sys.registry.Writes().empty());
    EXPECT_FALSE(s.sys.registry.HasKey(kKey));
    EXPECT_EQ(s.sys.runtime.endCalls, 1);
    EXPECT_EQ(s.intro.shows, 0);  // the boxes come without the splash
}

// ---- First-start defaults ----

TEST(Startup, RegistryFailureAtEachDefaultShowsOneBoxAndStops) {
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
        Start s(std::nullopt, std::nullopt);
        s.sys.registry.fail = [&](const std::string& op, const std::string&, const std::string& name) {
            return op == c.op && name == c.name;
        };
        s.form.Form_Load();

        ASSERT_EQ(s.sys.boxes.shown.size(), 1u);
        EXPECT_EQ(s.sys.boxes.shown[0].title, "ERROR!");
        EXPECT_EQ(s.sys.boxes.shown[0].text,
                  "There was an error writing to the registry!\r\nPlease restart your computer!");
        EXPECT_EQ(s.sys.boxes.shown[0].icon, MbIcon::Critical);
        EXPECT_EQ(s.sys.registry.Writes(), c.writtenBefore);
        EXPECT_NE(s.sys.registry.log.back().find(" FAILED"), std::string::npos) << "nothing tried after it";
        EXPECT_EQ(s.sys.runtime.endCalls, 1);
        EXPECT_TRUE(s.intro.unloaded);
        EXPECT_EQ(s.intro.shows, 0);
        EXPECT_EQ(s.loads, 0);
    }
}

TEST(Startup, DefaultsFillOnlyWhatIsMissing) {
    struct Case {
        const char* name;
        Flag tray, winamp;
        std::vector<std::string> writes;
    };
    const Case cases[] = {
        {"first start", std::nullopt, std::nullopt, {"StartInTray=No", "WinAmpOnStart=No"}},
        {"later start keeps the choices", "Yes", "Yes", {}},
        {"lost WinAmpOnStart", "Yes", std::nullopt, {"WinAmpOnStart=No"}},
        {"lost StartInTray", std::nullopt, "Yes", {"StartInTray=No"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start s(c.tray, c.winamp);
        s.scriptedLoad = [](frmMain&, FakeMainView&) {};  // keeps the player from being launched
        s.form.Form_Load();
        EXPECT_EQ(s.sys.registry.Writes(), c.writes);
        EXPECT_EQ(s.sys.registry.Value(kKey, "StartInTray"), c.tray.value_or("No"));
        EXPECT_EQ(s.sys.registry.Value(kKey, "WinAmpOnStart"), c.winamp.value_or("No"));
        EXPECT_EQ(s.loads, 1);
    }
}

// ---- Splash ----

TEST(Startup, SplashShowsTheVersionAndFillsInAboutThreeAndAHalfSeconds) {
    Start s;
    s.sys.runtime.version = {3, 1, 2};
    std::vector<bool> visibleBeforeTick;
    s.intro.timer.onTick = [&] {
        visibleBeforeTick.push_back(s.intro.visible);
        s.form.MyTimer_Timer();
    };
    s.form.Form_Load();

    EXPECT_EQ(s.intro.Caption(IntroCtl::Label3), "Version 3.1");
    EXPECT_EQ(s.intro.valueTimes, (std::vector<std::int64_t>{100, 200, 300, 400, 500, 600, 700, 800, 2100, 3400}));
    EXPECT_EQ(s.intro.repaintsAtValue, (std::vector<int>{5, 8}));
    ASSERT_GE(visibleBeforeTick.size(), 2u);
    EXPECT_FALSE(visibleBeforeTick[0]);  // the first tick is what shows the splash
    EXPECT_TRUE(visibleBeforeTick[1]);
    // Each setting once: setting a running timer again would restart its count.
    EXPECT_EQ(s.intro.timer.history,
              (std::vector<std::string>{"interval 100", "on", "interval 1300", "off", "interval 0"}));
    EXPECT_EQ(s.loadedAtMs, 3400);
    // Built once, before the first tick and with the bar's timer already running.
    EXPECT_EQ(s.preparedAtMs, std::vector<std::int64_t>{0});
    EXPECT_TRUE(s.timerOnWhenPrepared);
}

TEST(Startup, FailingTickEndsSilently) {
    struct ThrowingIntro : fakes::FakeIntroView {
        using FakeIntroView::FakeIntroView;
        void Repaint() override { throw std::runtime_error("paint"); }
    };
    Start s;
    ThrowingIntro view{s.sys.scheduler};
    frmIntro form{s.sys.platform, view, s};
    view.value = 4;
    EXPECT_NO_THROW(form.MyTimer_Timer());
    EXPECT_EQ(view.value, 5);
}

// ---- Hand-over ----

TEST(Startup, HandOverShowsTheWindowOrLeavesItInTheTray) {
    const std::string restored = "Alarm Settings: OFF  Date: 6/15/2024 Time: 7:05 AM ALARM IS SET.";
    struct Case {
        bool inTray;
        std::string status;
    };
    for (const Case& c : {Case{false, ""}, Case{false, restored}, Case{true, restored}}) {
        SCOPED_TRACE(::testing::Message() << "in tray " << c.inTray << ", status '" << c.status << "'");
        Start s;
        s.scriptedLoad = [&](frmMain& main, FakeMainView& view) {
            if (!c.status.empty()) {  // a saved alarm brought back
                testing::Given(main).Chosen("6/15/2024", "7:05 AM");
                main.State().restoredAtLoad = true;
            }
            if (c.inTray) {  // what going to the tray during the load leaves behind
                main.State().startsInTray = true;
                view.tray.shown = true;
            }
        };
        bool pausedWithInputsOff = false;
        s.sys.runtime.onPause = [&](int) {
            pausedWithInputsOff = !s.intro.visible && !s.view->visible;
            for (MainCtl ctl : kInputs) pausedWithInputsOff = pausedWithInputsOff && !s.view->Enabled(ctl);
        };
        s.form.Form_Load();

        RecordingMainView& view = *s.view;
        EXPECT_TRUE(pausedWithInputsOff);
        EXPECT_EQ(s.sys.runtime.pauses, std::vector<int>{1000});
        EXPECT_EQ(view.visible, !c.inTray);
        // Shown with its inputs usable, so that its first focus is not the time box.
        EXPECT_EQ(view.enabledAtShow, c.inTray ? std::vector<bool>{} : std::vector<bool>(4, true));
        EXPECT_FALSE(s.main->State().startsInTray);
        for (MainCtl ctl : kInputs) EXPECT_TRUE(view.Enabled(ctl));
        EXPECT_EQ(view.Status(), c.status);
        EXPECT_EQ(view.focusHistory, c.inTray ? std::vector<MainCtl>{} : std::vector<MainCtl>{MainCtl::cmdSet});
        EXPECT_TRUE(s.intro.unloaded);
        EXPECT_FALSE(s.sys.runtime.ended);
    }
}

TEST(Startup, FirstStartRunsThroughToTheShownMainWindow) {
    Start s(std::nullopt, std::nullopt);
    s.form.Form_Load();
    ASSERT_EQ(s.loads, 1);
    EXPECT_EQ(s.sys.registry.Value(kKey, "StartInTray"), "No");
    EXPECT_EQ(s.sys.registry.Value(kKey, "WinAmpOnStart"), "No");
    EXPECT_TRUE(s.sys.boxes.shown.empty());
    EXPECT_FALSE(s.sys.runtime.ended);
    EXPECT_TRUE(s.view->visible);
    EXPECT_EQ(s.view->Status(), "");
}

}  // namespace
}  // namespace chw
