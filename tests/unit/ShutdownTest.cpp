// Closing the main window: the questions, the saved alarm, the player and WordPad.
#include <functional>

#include "MainFormRig.h"

namespace chw::testing {
namespace {

TEST(Shutdown, EveryCloseRequestAsksFirstWithTheWatchRunning) {
    const std::pair<const char*, std::function<bool(frmMain&)>> requests[] = {
        {"Settings Exit", [](frmMain& f) { f.mnuExitApp_Click(); return true; }},
        {"tray Exit", [](frmMain& f) { f.mnuExit_Click(); return true; }},
        {"Unload", [](frmMain& f) { return !f.Unload(); }},
        {"Windows ending", [](frmMain& f) { bool cancel = false; f.Form_QueryUnload(cancel, 2); return cancel; }},
    };
    for (const auto& [name, request] : requests) {
        SCOPED_TRACE(name);
        MainFormRig r;
        r.form.State().AlarmDate = "12/8/2026";
        r.form.State().AlarmTime = "7:05 PM";
        bool timerOnDuringQuestion = false;
        r.sys.boxes.onShow = [&](const fakes::ShownBox&) { timerOnDuringQuestion = r.view.timer.Enabled(); };
        r.Answer({MbAnswer::No});

        EXPECT_TRUE(request(r.form));  // cancelled

        ASSERT_EQ(r.sys.boxes.shown.size(), 1u);
        EXPECT_EQ(r.sys.boxes.shown[0].title, "Close Chimewell?");
        EXPECT_EQ(r.sys.boxes.shown[0].text,
                  "Are you sure you want to stop monitoring the time for your alarm?\r\nThis will close Chimewell System!");
        EXPECT_TRUE(timerOnDuringQuestion);
        EXPECT_TRUE(r.view.timer.Enabled());
        EXPECT_EQ(r.view.statusHistory, (Strings{"Shutdown Query Being Verified. . .", "Ready."}));
        EXPECT_TRUE(r.sys.registry.Writes().empty());
        EXPECT_FALSE(r.sys.runtime.ended);
    }
}

TEST(Shutdown, SavingTheAlarmWritesTheFlagLast) {
    const struct {
        const char* name;
        const char* date;
        const char* time;
        MbAnswer save;
        Strings writes;
    } cases[] = {
        {"no alarm", "", "", MbAnswer::Yes, {}},
        {"date only", "12/8/2026", "", MbAnswer::Yes, {}},
        {"time only", "", "7:05 PM", MbAnswer::Yes, {}},
        {"declined", "12/8/2026", "7:05 PM", MbAnswer::No, {"SettingsSaved=No"}},
        {"saved", "12/8/2026", "7:05 PM", MbAnswer::Yes,
         {"SettingsSaved=No", "Date:=12/8/2026", "Time:=7:05 PM", "SettingsSaved=Yes"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainFormRig r;
        r.form.State().AlarmDate = c.date;
        r.form.State().AlarmTime = c.time;
        r.Answer({MbAnswer::Yes, c.save});

        EXPECT_TRUE(r.form.Unload());

        const Strings titles = c.writes.empty() ? Strings{"Close Chimewell?"}
                                                : Strings{"Close Chimewell?", "Save Settings?"};
        EXPECT_EQ(r.sys.boxes.Titles(), titles);
        EXPECT_EQ(r.sys.registry.Writes(), c.writes);
        EXPECT_EQ(r.sys.runtime.endCalls, 1);
    }
}

TEST(Shutdown, FailedWriteEndsWithoutThePlayerQuestionAndNeverLeavesAStaleYes) {
    const struct {
        MbAnswer save;
        int failing;
    } cases[] = {{MbAnswer::Yes, 0}, {MbAnswer::Yes, 1}, {MbAnswer::Yes, 2}, {MbAnswer::Yes, 3}, {MbAnswer::No, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.save == MbAnswer::Yes) + " write " + std::to_string(c.failing));
        MainFormRig r;
        r.form.State().AlarmDate = "12/8/2026";
        r.form.State().AlarmTime = "7:05 PM";
        r.sys.registry.Put(settings::kKey, settings::kSettingsSaved, "Yes");  // an older alarm was saved
        r.sys.windows.AddPlayer(1);
        r.FailWrite(c.failing);
        r.Answer({MbAnswer::Yes, c.save, MbAnswer::Yes});

        r.form.Unload();

        EXPECT_EQ(r.writeAttempts, c.failing + 1);
        EXPECT_EQ(r.sys.boxes.Titles(), (Strings{"Close Chimewell?", "Save Settings?", "ERROR!"}));
        EXPECT_EQ(r.sys.boxes.shown.back().text, settings::kRegistryErrorText);
        EXPECT_EQ(r.sys.runtime.endCalls, 1);
        EXPECT_EQ(r.sys.windows.players.size(), 1u);
        if (c.save == MbAnswer::Yes && c.failing > 0) {
            EXPECT_EQ(r.sys.registry.Value(settings::kKey, settings::kSettingsSaved), "No");
        }
    }
}

TEST(Shutdown, PlayerQuestionOnlyWhenOneRunsAndWordPadIsMinimised) {
    const struct {
        int players;
        MbAnswer answer;
        std::size_t left;
    } cases[] = {{0, MbAnswer::Yes, 0}, {1, MbAnswer::Yes, 0}, {1, MbAnswer::No, 1}, {2, MbAnswer::Yes, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.players) + (c.answer == MbAnswer::Yes ? " yes" : " no"));
        MainFormRig r;
        for (int i = 0; i < c.players; ++i) r.sys.windows.AddPlayer(1);
        const WindowHandle wordPad = r.sys.windows.Add("WordPadClass", "CHWLHELP.DOC - WordPad");
        r.Answer({MbAnswer::Yes, c.answer});

        r.form.Unload();

        EXPECT_EQ(r.sys.boxes.Titles(), (c.players ? Strings{"Close Chimewell?", "Close WinAmp?"}
                                                   : Strings{"Close Chimewell?"}));
        if (c.players) {
            EXPECT_EQ(r.sys.boxes.shown[1].text, "Do You Want To Close WinAmp?");
        }
        EXPECT_EQ(r.sys.windows.players.size(), c.left);
        EXPECT_EQ(r.sys.windows.minimizeCalls, std::vector<WindowHandle>{wordPad});
        EXPECT_TRUE(r.sys.windows.Exists(wordPad));
        EXPECT_EQ(r.sys.runtime.endCalls, 1);
    }
}

}  // namespace
}  // namespace chw::testing
