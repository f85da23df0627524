// The Help menu: the document in WordPad, the About boxes and the updater.
#include <algorithm>
#include <cctype>

#include "MainFormRig.h"

namespace chw::testing {
namespace {

// WordPad first; where it is gone or will not start, the program the system associates with the
// document; where there is none, the program's own help window.
TEST(Help, ContentsOpensTheDocumentBesideTheProgramAndSaysWhenItCannot) {
    const char* started = "Help Document Was Started.  Ready.";
    const char* unshowable = "Help Document, or Startup Component Not Found!\r\n                     Please Re-Install!";
    const std::string document = "D:\\Chime Tools\\CHWL\\CHWLHELP.DOC";
    const struct {
        const char* name;
        bool present;
        LaunchError error;
        bool associated, ownWindow;
        const char* box;
        const char* status;
        int opened, ownWindows;  // OpenDocument calls, help windows asked for
    } cases[] = {
        {"missing", false, LaunchError::None, true, true, "Document Could Not Be Found!", "Ready.", 0, 0},
        {"started", true, LaunchError::None, true, true, nullptr, started, 0, 0},
        {"no WRITE: the associated program", true, LaunchError::FileNotFound, true, true, nullptr, started, 1, 0},
        {"WRITE will not start", true, LaunchError::Other, true, true, nullptr, started, 1, 0},
        {"no WRITE, no association: own window", true, LaunchError::FileNotFound, false, true, nullptr, started, 1, 1},
        {"nothing can show it", true, LaunchError::Other, false, false, unshowable, "Ready.", 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainFormRig r;
        r.sys.files.appFolder = "D:\\Chime Tools\\CHWL";  // not the installation folder; a blank in it
        r.sys.files.AddFile("c:\\Program Files\\Tallowmer\\CHWL\\CHWLHELP.DOC");
        if (c.present) r.sys.files.AddFile(document);
        r.Launches(c.error);
        r.sys.processes.associated = c.associated;
        r.view.helpWindowWorks = c.ownWindow;

        r.form.mnuContents_Click();

        EXPECT_EQ(r.sys.processes.openedDocuments, Strings(c.opened, document));
        EXPECT_EQ(r.view.helpWindows, Strings(c.ownWindows, document));

        EXPECT_EQ(r.sys.boxes.Titles(), (c.box ? Strings{"Chimewell Help"} : Strings{}));
        if (c.box) {
            EXPECT_EQ(r.sys.boxes.shown[0].text, c.box);
        }
        ASSERT_EQ(r.sys.processes.launches.size(), c.present ? 1u : 0u);
        if (c.present) {
            EXPECT_EQ(r.sys.processes.launches[0].commandLine,
                      "\"C:\\windows\\system32\\WRITE\" \"D:\\Chime Tools\\CHWL\\CHWLHELP.DOC\"");
            EXPECT_EQ(r.sys.processes.launches[0].style, WindowStyle::MaximizedFocus);
        }
        EXPECT_EQ(r.view.statusHistory, (Strings{"Attempting To Open Help Document. . .", c.status}));
        EXPECT_EQ(r.view.busyHistory, (std::vector<bool>{true, false}));
    }
}

TEST(Help, AboutShowsTheVersionWithTheWatchOff) {
    const struct {
        Version version;
        const char* first;
        bool timerBefore;
    } cases[] = {{{3, 1, 0}, "Chimewell 3.1", true}, {{3, 10, 0}, "Chimewell 3.10", false}, {{3, 0, 5}, "Chimewell 3.0", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        MainFormRig r;
        r.sys.runtime.version = c.version;
        r.view.timer.SetEnabled(c.timerBefore);
        std::vector<bool> timerDuringBoxes;
        r.sys.boxes.onShow = [&](const fakes::ShownBox&) { timerDuringBoxes.push_back(r.view.timer.Enabled()); };

        r.form.mnuAbout_Click();

        ASSERT_EQ(r.sys.boxes.Titles(), (Strings{"About Chimewell(tm)", "For Your Information!"}));
        const std::string& about = r.sys.boxes.shown[0].text;
        const std::string first(c.first);
        EXPECT_EQ(about.compare(0, first.size(), first), 0);
        EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(about[first.size()])));
        EXPECT_EQ(about.find('\n'), std::string::npos);  // lines end in a carriage return alone
        // the third line, an empty fourth, then the credits after exactly nine blanks
        const std::string middle = "\rMajor Intellectual Contributions By:\r\r" + std::string(9, ' ');
        const std::size_t at = about.find(middle);
        ASSERT_NE(at, std::string::npos);
        EXPECT_NE(about.at(at + middle.size()), ' ');
        EXPECT_EQ(std::count(about.begin(), about.end(), '\r'), 4);
        EXPECT_EQ(r.sys.boxes.shown[1].text.rfind("For More Information E-mail: ", 0), 0u);
        EXPECT_EQ(timerDuringBoxes, (std::vector<bool>{false, false}));
        EXPECT_TRUE(r.view.timer.Enabled());
    }
}

TEST(Help, UpdateStartsTheUpdaterOrSaysItCannot) {
    const struct {
        const char* name;
        bool present;
        LaunchError error;
    } cases[] = {{"missing", false, LaunchError::None},
                 {"present", true, LaunchError::None},
                 {"will not start", true, LaunchError::Other}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainFormRig r;
        if (c.present) r.sys.files.AddFile("c:\\Program Files\\Tallowmer\\CHWL\\Update.exe");
        r.Launches(c.error);
        const bool failed = !c.present || c.error != LaunchError::None;

        r.form.mnuUpdate_Click();

        ASSERT_EQ(r.sys.processes.launches.size(), c.present ? 1u : 0u);
        if (c.present) {
            EXPECT_EQ(r.sys.processes.launches[0].commandLine, "c:\\Program Files\\Tallowmer\\CHWL\\update.exe");
            EXPECT_EQ(r.sys.processes.launches[0].style, WindowStyle::NormalFocus);
        }
        EXPECT_EQ(r.sys.boxes.Titles(), (failed ? Strings{"Chimewell Help"} : Strings{}));
        if (failed) {
            EXPECT_EQ(r.sys.boxes.shown[0].text, "Updater Could Not Be Loaded\r\nProblem With Update Application");
            EXPECT_EQ(r.view.Status(), "Updater Could Not Be Loaded!  You Should Try Again!");
        } else {
            EXPECT_TRUE(r.view.statusHistory.empty());
        }
    }
}

}  // namespace
}  // namespace chw::testing
