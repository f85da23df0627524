// The Help menu: the document in WordPad, the About boxes and the updater.
#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeViews.h"
#include "help/HelpTexts.h"

namespace chw {
namespace {

using fakes::FakeMainView;
using fakes::FakeSystem;
using fakes::ShownBox;

constexpr const char* kViewer = "C:\\windows\\system32\\WRITE C:\\PROGRA~1\\TALLOW~1\\CHWL\\CHWLHELP.DOC";

struct HelpRig {
    FakeSystem sys;
    FakeMainView view{sys.scheduler, {2026, 12, 7}};
    Winamp_Access winamp{sys.platform};
    frmMain form{sys.platform, view, winamp};
};

TEST(Help, ContentsTestsTheAppFolderAndOpensTheInstalledDocument) {
    const struct {
        const char* name;
        bool present;
        LaunchError error;
        std::vector<std::string> boxes;
        const char* finalStatus;
    } cases[] = {
        {"missing", false, LaunchError::None, {"Document Could Not Be Found!"}, "Ready."},
        {"started", true, LaunchError::None, {}, "Help Document Was Started.  Ready."},
        {"no WRITE",
         true,
         LaunchError::FileNotFound,
         {"Help Document, or Startup Component Not Found!\r\n                     Please Re-Install!"},
         "Ready."},
        {"other launch error", true, LaunchError::Other, {}, "Help Document Was Started.  Ready."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HelpRig r;
        r.sys.files.appFolder = "D:\\Tools\\CHWL";  // not where the installer puts it
        r.sys.files.AddFile("c:\\Program Files\\Tallowmer\\CHWL\\CHWLHELP.DOC");
        if (c.present) r.sys.files.AddFile("D:\\Tools\\CHWL\\CHWLHELP.DOC");
        bool busyDuringBox = false;
        r.sys.boxes.onShow = [&](const ShownBox&) { busyDuringBox = r.view.busy; };
        r.sys.processes.onLaunch = [&](const std::string&, WindowStyle) {
            return LaunchResult{c.error == LaunchError::None ? 9 : 0, c.error};
        };

        r.form.mnuContents_Click();

        std::vector<std::string> texts;
        for (const auto& b : r.sys.boxes.shown) {
            texts.push_back(b.text);
            EXPECT_EQ(b.title, "Chimewell Help");
            EXPECT_EQ(b.icon, MbIcon::Critical);
        }
        EXPECT_EQ(texts, c.boxes);
        if (c.present) {
            ASSERT_EQ(r.sys.processes.launches.size(), 1u);
            EXPECT_EQ(r.sys.processes.launches[0].commandLine, kViewer);
            EXPECT_EQ(r.sys.processes.launches[0].style, WindowStyle::MaximizedFocus);
        } else {
            EXPECT_TRUE(r.sys.processes.launches.empty());
        }
        EXPECT_EQ(r.view.statusHistory,
                  (std::vector<std::string>{"Attempting To Open Help Document. . .", c.finalStatus}));
        EXPECT_EQ(r.view.busyHistory, (std::vector<bool>{true, false}));
        EXPECT_EQ(busyDuringBox, !c.boxes.empty());
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines{""};
    for (char ch : text) {
        if (ch == '\r') lines.emplace_back();
        else lines.back() += ch;
    }
    return lines;
}

TEST(Help, AboutShowsTheVersionWithTheWatchOff) {
    const struct {
        Version version;
        const char* start;
        bool timerBefore;
    } cases[] = {{{3, 1, 0}, "Chimewell 3.1", true}, {{3, 10, 0}, "Chimewell 3.10", false}, {{3, 0, 5}, "Chimewell 3.0", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        HelpRig r;
        r.sys.runtime.version = c.version;
        r.view.timer.SetEnabled(c.timerBefore);
        std::vector<bool> timerDuringBoxes;
        r.sys.boxes.onShow = [&](const ShownBox&) { timerDuringBoxes.push_back(r.view.timer.Enabled()); };

        r.form.mnuAbout_Click();

        ASSERT_EQ(r.sys.boxes.shown.size(), 2u);
        const ShownBox& about = r.sys.boxes.shown[0];
        EXPECT_EQ(about.title, "About Chimewell(tm)");
        EXPECT_EQ(about.icon, MbIcon::Information);
        EXPECT_EQ(about.text.find('\n'), std::string::npos);
        const auto lines = Lines(about.text);
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[0].rfind(c.start, 0), 0u);
        EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(lines[0][std::string(c.start).size()])));
        EXPECT_EQ(lines[2], "Major Intellectual Contributions By:");
        EXPECT_EQ(lines[3], "");
        EXPECT_EQ(lines[4].find_first_not_of(' '), 9u);
        EXPECT_EQ(r.sys.boxes.shown[1].title, "For Your Information!");
        EXPECT_EQ(r.sys.boxes.shown[1].text.rfind("For More Information E-mail: ", 0), 0u);
        EXPECT_EQ(timerDuringBoxes, (std::vector<bool>{false, false}));
        EXPECT_TRUE(r.view.timer.Enabled());
    }
}

TEST(Help, UpdateStartsTheUpdaterOrSaysItCannot) {
    const struct {
        const char* name;
        bool present;
        bool starts;
        bool failure;
    } cases[] = {{"missing", false, true, true}, {"present", true, true, false}, {"will not start", true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HelpRig r;
        if (c.present) r.sys.files.AddFile("c:\\Program Files\\Tallowmer\\CHWL\\Update.exe");
        r.sys.processes.onLaunch = [&](const std::string&, WindowStyle) {
            return c.starts ? LaunchResult{5, LaunchError::None} : LaunchResult{0, LaunchError::Other};
        };

        r.form.mnuUpdate_Click();

        if (c.present) {
            ASSERT_EQ(r.sys.processes.launches.size(), 1u);
            EXPECT_EQ(r.sys.processes.launches[0].commandLine, "c:\\Program Files\\Tallowmer\\CHWL\\update.exe");
            EXPECT_EQ(r.sys.processes.launches[0].style, WindowStyle::NormalFocus);
        } else {
            EXPECT_TRUE(r.sys.processes.launches.empty());
        }
        if (c.failure) {
            ASSERT_EQ(r.sys.boxes.shown.size(), 1u);
            EXPECT_EQ(r.sys.boxes.shown[0].title, "Chimewell Help");
            EXPECT_EQ(r.sys.boxes.shown[0].text, "Updater Could Not Be Loaded\r\nProblem With Update Application");
            EXPECT_EQ(r.view.Status(), "Updater Could Not Be Loaded!  You Should Try Again!");
        } else {
            EXPECT_TRUE(r.sys.boxes.shown.empty());
            EXPECT_TRUE(r.view.statusHistory.empty());
        }
    }
}

}  // namespace
}  // namespace chw
