// Closing the main window: the questions, the saved alarm, the player and WordPad.
#include <gtest/gtest.h>

#include <functional>

#include "app/frmMain.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeViews.h"
#include "settings/SettingsSchema.h"

namespace chw {
namespace {

using fakes::FakeMainView;
using fakes::FakeSystem;
using fakes::ShownBox;

constexpr const char* kConfirmText =
    "Are you sure you want to stop monitoring the time for your alarm?\r\nThis will close Chimewell System!";

struct ShutdownRig {
    FakeSystem sys;
    FakeMainView view{sys.scheduler, {2026, 12, 7}};
    Winamp_Access winamp{sys.platform};
    frmMain form{sys.platform, view, winamp};

    ShutdownRig() {
        sys.registry.CreateKey(settings::kRoot, settings::kKey);
        sys.registry.Put(settings::kKey, settings::kDate, "1/1/2026");
        sys.registry.Put(settings::kKey, settings::kTime, "6:00 AM");
    }
    void SetAlarm() {
        form.AlarmDate = "12/8/2026";
        form.AlarmTime = "7:05 PM";
    }
    void Answer(std::initializer_list<MbAnswer> answers) { sys.boxes.answers.assign(answers); }
    std::optional<std::string> Stored(const char* name) const { return sys.registry.Value(settings::kKey, name); }
};

TEST(Shutdown, EveryCloseRequestAsksFirstAndNoKeepsTheWatchRunning) {
    const std::pair<const char*, std::function<bool(frmMain&)>> requests[] = {
        {"Settings Exit", [](frmMain& f) { f.mnuExitApp_Click(); return true; }},
        {"tray Exit", [](frmMain& f) { f.mnuExit_Click(); return true; }},
        {"Unload", [](frmMain& f) { return !f.Unload(); }},
        {"Windows ending", [](frmMain& f) { bool cancel = false; f.Form_QueryUnload(cancel, 2); return cancel; }},
    };
    for (const auto& [name, request] : requests) {
        SCOPED_TRACE(name);
        ShutdownRig r;
        r.SetAlarm();
        bool timerOnDuringQuestion = true;
        r.sys.boxes.onShow = [&](const ShownBox&) { timerOnDuringQuestion = r.view.timer.Enabled(); };
        r.Answer({MbAnswer::No});

        EXPECT_TRUE(request(r.form));  // the close was cancelled

        ASSERT_EQ(r.sys.boxes.shown.size(), 1u);
        EXPECT_EQ(r.sys.boxes.shown[0].title, "Close Chimewell?");
        EXPECT_EQ(r.sys.boxes.shown[0].text, kConfirmText);
        EXPECT_EQ(r.sys.boxes.shown[0].icon, MbIcon::Question);
        EXPECT_EQ(r.sys.boxes.shown[0].buttons, MbButtons::YesNo);
        EXPECT_FALSE(timerOnDuringQuestion);
        EXPECT_TRUE(r.view.timer.Enabled());
        EXPECT_EQ(r.view.statusHistory,
                  (std::vector<std::string>{"Shutdown Query Being Verified. . .", "Ready."}));
        EXPECT_TRUE(r.sys.registry.Writes().empty());
        EXPECT_FALSE(r.sys.runtime.ended);
    }
}

TEST(Shutdown, SavingTheAlarmWritesTheFlagLast) {
    const struct {
        const char* name;
        const char* date;
        const char* time;
        std::vector<MbAnswer> answers;
        std::vector<std::string> titles;
        std::vector<std::string> writes;
    } cases[] = {
        {"no alarm", "", "", {MbAnswer::Yes}, {"Close Chimewell?"}, {}},
        {"date only", "12/8/2026", "", {MbAnswer::Yes}, {"Close Chimewell?"}, {}},
        {"time only", "", "7:05 PM", {MbAnswer::Yes}, {"Close Chimewell?"}, {}},
        {"save declined", "12/8/2026", "7:05 PM", {MbAnswer::Yes, MbAnswer::No},
         {"Close Chimewell?", "Save Settings?"}, {"SettingsSaved=No"}},
        {"saved", "12/8/2026", "7:05 PM", {MbAnswer::Yes, MbAnswer::Yes},
         {"Close Chimewell?", "Save Settings?"},
         {"SettingsSaved=No", "Date:=12/8/2026", "Time:=7:05 PM", "SettingsSaved=Yes"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShutdownRig r;
        r.form.AlarmDate = c.date;
        r.form.AlarmTime = c.time;
        r.sys.boxes.answers.assign(c.answers.begin(), c.answers.end());

        EXPECT_TRUE(r.form.Unload());

        EXPECT_EQ(r.sys.boxes.Titles(), c.titles);
        EXPECT_EQ(r.sys.registry.Writes(), c.writes);
        EXPECT_EQ(r.sys.runtime.endCalls, 1);
    }
    ShutdownRig r;
    r.SetAlarm();
    r.Answer({MbAnswer::Yes, MbAnswer::Yes});
    r.form.Unload();
    EXPECT_EQ(r.sys.boxes.shown[1].text, "You Have Set The Alarm, Would You Like To Save The Settings?");
}

TEST(Shutdown, FailedWriteShowsTheErrorEndsAndNeverVouchesForAStaleAlarm) {
    // Which write fails (counted from 0 among the writes the answer makes).
    const struct {
        bool save;
        int failing;
    } cases[] = {{true, 0}, {true, 1}, {true, 2}, {true, 3}, {false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.save ? "save" : "decline") + ", write " + std::to_string(c.failing));
        ShutdownRig r;
        r.SetAlarm();
        r.sys.registry.Put(settings::kKey, settings::kSettingsSaved, "Yes");  // an older alarm was saved
        r.sys.windows.AddPlayer(1);
        int writes = 0;
        r.sys.registry.fail = [&](const std::string& op, const std::string&, const std::string&) {
            return op == "write" && writes++ == c.failing;
        };
        r.Answer({MbAnswer::Yes, c.save ? MbAnswer::Yes : MbAnswer::No, MbAnswer::Yes});

        r.form.Unload();

        EXPECT_EQ(writes, c.failing + 1);  // nothing written after the failure
        EXPECT_EQ(r.sys.boxes.Titles(), (std::vector<std::string>{"Close Chimewell?", "Save Settings?", "ERROR!"}));
        EXPECT_EQ(r.sys.boxes.shown.back().text, settings::kRegistryErrorText);
        EXPECT_EQ(r.sys.boxes.shown.back().icon, MbIcon::Critical);
        EXPECT_EQ(r.sys.runtime.endCalls, 1);
        EXPECT_EQ(r.sys.windows.players.size(), 1u);  // no player question, nothing closed
        // Only a complete save may say "Yes"; the old "Yes" goes first so the old alarm is not mixed in.
        if (c.save && c.failing > 0) {
            EXPECT_EQ(r.Stored(settings::kSettingsSaved), "No");
        }
    }
}

TEST(Shutdown, RunningPlayerIsClosedOnlyOnYes) {
    const struct {
        MbAnswer answer;
        int players;
        std::size_t left;
    } cases[] = {{MbAnswer::Yes, 1, 0}, {MbAnswer::No, 1, 1}, {MbAnswer::Yes, 2, 0}, {MbAnswer::No, 2, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.players) + (c.answer == MbAnswer::Yes ? " yes" : " no"));
        ShutdownRig r;
        for (int i = 0; i < c.players; ++i) r.sys.windows.AddPlayer(1);
        r.Answer({MbAnswer::Yes, c.answer});

        r.form.Unload();

        EXPECT_EQ(r.sys.boxes.Titles(), (std::vector<std::string>{"Close Chimewell?", "Close WinAmp?"}));
        EXPECT_EQ(r.sys.boxes.shown[1].text, "Do You Want To Close WinAmp?");
        EXPECT_EQ(r.sys.windows.players.size(), c.left);
        EXPECT_EQ(r.sys.runtime.endCalls, 1);
    }
}

TEST(Shutdown, WordPadIsMinimisedNotClosed) {
    ShutdownRig r;
    const WindowHandle wordPad = r.sys.windows.Add("WordPadClass", "CHWLHELP.DOC - WordPad");
    r.Answer({MbAnswer::Yes});
    r.form.Unload();
    EXPECT_EQ(r.sys.windows.minimizeCalls, std::vector<WindowHandle>{wordPad});
    EXPECT_TRUE(r.sys.windows.Exists(wordPad));
    EXPECT_EQ(r.sys.boxes.Titles(), std::vector<std::string>{"Close Chimewell?"});  // no player, no question
    EXPECT_EQ(r.sys.runtime.endCalls, 1);
}

}  // namespace
}  // namespace chw
