// The Help menu's commands through the real program: the help document opened in WordPad or missing,
// and the updater missing or started.
#include <cstdio>
#include <vector>

#include "AroundRig.h"

using namespace e2e;

namespace {

class Help : public AroundRig {};

constexpr const char* kHelpTitle = "Chimewell Help";
constexpr const char* kViewerClass = "WORDPADTOP";  // Wine's WordPad
constexpr const char* kUpdaterTitle = "Chimewell Update";
constexpr const char* kOwnHelpClass = "ChimewellHelp";

// A window of the updater: a box of another process under the updater's title.
bool UpdaterShows(DWORD programPid) {
    for (HWND h : TopLevelWindows(0)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid != programPid && pid != GetCurrentProcessId() && Visible(h) && TitleOf(h) == kUpdaterTitle)
            return true;
    }
    return false;
}

// WordPad with the help document open: its title names the document.
bool ViewerShowsTheDocument() {
    for (HWND h : WindowsOfClass(kViewerClass))
        if (TitleOf(h).find("CHWLHELP") != std::string::npos) return true;
    return false;
}

}  // namespace

TEST_F(Help, ContentsSaysWhenTheDocumentIsMissingAndOtherwiseStartsTheViewer) {
    if (InstalledBySetup()) {
        ASSERT_TRUE(RemoveInstalled("CHWLHELP.DOC")) << "the setup should install the document";
    }
    ASSERT_NO_FATAL_FAILURE(Start());

    Shortcut(VK_F1);
    auto box = WaitMsgBoxTitled(app_.Id(), kHelpTitle, 10000);
    ASSERT_TRUE(box) << "F1 without CHWLHELP.DOC should say so";
    EXPECT_EQ(box->text, "Document Could Not Be Found!");
    EXPECT_EQ(StatusText(c_), "Attempting To Open Help Document. . .");
    Screenshot("help-missing");
    PressButton(box->hwnd, IDOK);
    ASSERT_TRUE(WaitGone(box->hwnd, 5000));
    EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == "Ready."; }, 5000)) << StatusText(c_);
    EXPECT_TRUE(WindowsOfClass(kViewerClass).empty()) << "no viewer without the document";
    std::printf("checked: F1 without the document shows \"Document Could Not Be Found!\", then \"Ready.\"\n");

    ASSERT_TRUE(InstallBeside("CHWLHELP.DOC"));
    Shortcut(VK_F1);
    EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == "Help Document Was Started.  Ready."; }, 10000))
        << StatusText(c_);
    EXPECT_TRUE(WaitUntil([&] { return ViewerShowsTheDocument(); }, 30000))
        << "WordPad should open CHWLHELP.DOC";
    Pause(1000);
    Screenshot("help-viewer");
    EXPECT_TRUE(app_.Running());
    std::printf("checked: F1 with the document opens it in WordPad (title names CHWLHELP), status "
                "\"Help Document Was Started.  Ready.\"\n");

    // WordPad gone, as from recent Windows: the program's own help window shows the document.
    for (HWND h : WindowsOfClass(kViewerClass)) PostMessageW(h, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([] { return WindowsOfClass(kViewerClass).empty(); }, 10000));
    for (const char* gone : {"C:\\windows\\system32\\write.exe", "C:\\windows\\system32\\wordpad.exe",
                             "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe"})
        DeleteFileW(Wide(gone).c_str());
    ASSERT_EQ(GetFileAttributesW(L"C:\\windows\\system32\\write.exe"), INVALID_FILE_ATTRIBUTES);
    // Another status first (F2 twice: start-in-tray on and off again), so that the one after F1 is its own.
    Shortcut(VK_F2);
    ASSERT_TRUE(WaitUntil([&] { return StatusText(c_).rfind("CHWL Will Minimize", 0) == 0; }, 10000))
        << StatusText(c_);
    Shortcut(VK_F2);
    ASSERT_TRUE(WaitUntil([&] { return StatusText(c_).rfind("Chimewell Will Not Start", 0) == 0; }, 10000))
        << StatusText(c_);
    auto ownHelp = [&] {
        std::vector<HWND> mine;
        for (HWND h : TopLevelWindows(app_.Id()))
            if (ClassOf(h) == kOwnHelpClass && Visible(h)) mine.push_back(h);
        return mine;
    };
    Shortcut(VK_F1);
    EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == "Help Document Was Started.  Ready."; }, 10000))
        << StatusText(c_);
    ASSERT_TRUE(WaitUntil([&] { return ownHelp().size() == 1; }, 10000)) << "the own help window should show";
    EXPECT_FALSE(WaitMsgBox(app_.Id(), 500)) << "no box when WordPad is gone";
    HWND help = ownHelp()[0];
    EXPECT_EQ(TitleOf(help), "CHWLHELP.DOC - Chimewell Help");
    std::string text;
    HWND document = nullptr;
    for (HWND child : Children(help)) {
        if (lstrcmpiA(ClassOf(child).c_str(), "RichEdit50W") != 0) continue;
        document = child;
        text = TextOf(child).value_or("");
    }
    EXPECT_NE(text.find("Chimewell System Help"), std::string::npos) << "the document's text should show";
    EXPECT_EQ(Style(document) & ES_READONLY, static_cast<DWORD>(ES_READONLY));
    Screenshot("help-own-window");
    // Scrolled by the keyboard: the document has the focus when the window opens.
    ASSERT_TRUE(BringToFront(help));
    RealKey(VK_NEXT);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(document, EM_GETFIRSTVISIBLELINE, 0, 0) > 0; }, 3000))
        << "Page Down should scroll the document";
    Shortcut(VK_F1);
    Pause(1500);
    EXPECT_EQ(ownHelp().size(), 1u) << "one help window at a time";
    ASSERT_TRUE(BringToFront(help));
    RealKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return ownHelp().empty(); }, 5000)) << "Esc should close the help window";
    EXPECT_TRUE(app_.Running());
    std::printf("checked: without WordPad F1 shows the document in \"CHWLHELP.DOC - Chimewell Help\", one window "
                "at a time, closed by Esc, no box\n");
}

TEST_F(Help, UpdateSaysWhenTheUpdaterIsMissingAndOtherwiseStartsIt) {
    if (InstalledBySetup()) {
        ASSERT_TRUE(RemoveInstalled("update.exe")) << "the setup should install the updater";
    }
    ASSERT_NO_FATAL_FAILURE(Start());

    Shortcut(VK_F9);
    auto box = WaitMsgBoxTitled(app_.Id(), kHelpTitle, 10000);
    ASSERT_TRUE(box) << "F9 without update.exe should say so";
    EXPECT_EQ(box->text, "Updater Could Not Be Loaded\r\nProblem With Update Application");
    PressButton(box->hwnd, IDOK);
    ASSERT_TRUE(WaitGone(box->hwnd, 5000));
    const std::string missing = "Updater Could Not Be Loaded!  You Should Try Again!";
    EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == missing; }, 5000)) << StatusText(c_);
    std::printf("checked: F9 without the updater shows its box and \"%s\"\n", missing.c_str());

    ASSERT_TRUE(InstallBeside("update.exe"));
    Shortcut(VK_F9);
    EXPECT_TRUE(WaitUntil([&] { return UpdaterShows(app_.Id()); }, 30000)) << "update.exe should start";
    Screenshot("updater");
    EXPECT_FALSE(WaitMsgBox(app_.Id(), 500)) << "a started updater is not reported";
    EXPECT_EQ(StatusText(c_), missing) << "a started updater leaves the status line";
    std::printf("checked: F9 with update.exe starts it (its window \"%s\" shows), status unchanged\n",
                kUpdaterTitle);
}
