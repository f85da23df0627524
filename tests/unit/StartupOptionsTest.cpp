// The start-in-tray option: both registry entries, their order, and what a failed write leads to.
#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeViews.h"
#include "settings/SettingsSchema.h"

namespace chw {
namespace {

using fakes::FakeMainView;
using fakes::FakeSystem;

constexpr const char* kOffStatus = "Chimewell Will Not Start With Windows.  Ready.";
constexpr const char* kOnStatus = "CHWL Will Minimize To The System Tray Upon Start.  Ready.";
const std::string kRunOn = "Chimewell=c:\\Program Files\\Tallowmer\\CHWL\\CHWLU.EXE";
const std::string kRunOff = "Chimewell=-c:\\Program Files\\Tallowmer\\CHWL\\CHWLU.EXE";

struct OptionsRig {
    FakeSystem sys;
    FakeMainView view{sys.scheduler, {2026, 12, 7}};
    Winamp_Access winamp{sys.platform};
    frmMain form{sys.platform, view, winamp};

    explicit OptionsRig(bool checked) {
        sys.registry.CreateKey(settings::kRoot, settings::kKey);
        sys.registry.CreateKey(settings::kRoot, settings::kRunKey);
        view.SetChecked(MainCtl::mnuStartInSystemTray, checked);
    }
};

TEST(StartupOptions, EachDirectionWritesInItsOwnOrder) {
    const struct {
        bool checkedBefore;
        std::vector<std::string> writes;
        const char* status;
    } cases[] = {
        {true, {"StartInTray=No", kRunOff}, kOffStatus},
        {false, {kRunOn, "StartInTray=Yes"}, kOnStatus},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.checkedBefore);
        OptionsRig r(c.checkedBefore);
        r.form.mnuStartInSystemTray_Click();
        EXPECT_EQ(r.sys.registry.Writes(), c.writes);
        EXPECT_EQ(r.view.Checked(MainCtl::mnuStartInSystemTray), !c.checkedBefore);
        EXPECT_EQ(r.view.Status(), c.status);
        EXPECT_TRUE(r.sys.boxes.shown.empty());
    }
}

TEST(StartupOptions, OnOffOnLeavesThePlainCommand) {
    OptionsRig r(false);
    for (int i = 0; i < 3; ++i) r.form.mnuStartInSystemTray_Click();
    EXPECT_EQ(r.sys.registry.Value(settings::kRunKey, "Chimewell"), "c:\\Program Files\\Tallowmer\\CHWL\\CHWLU.EXE");
    EXPECT_EQ(r.sys.registry.Value(settings::kKey, "StartInTray"), "Yes");
    EXPECT_TRUE(r.view.Checked(MainCtl::mnuStartInSystemTray));
}

TEST(StartupOptions, FailedWriteAsksToCloseAndGoesOnWhenKeptOpen) {
    const struct {
        bool checkedBefore;
        int failing;  // 0: the first write, 1: the second
        std::vector<std::string> writes;
        const char* status;
    } cases[] = {
        {true, 0, {kRunOff}, kOffStatus},
        {true, 1, {"StartInTray=No"}, kOffStatus},
        {false, 0, {"StartInTray=Yes"}, kOnStatus},
        {false, 1, {kRunOn}, kOnStatus},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.checkedBefore) + " write " + std::to_string(c.failing));
        OptionsRig r(c.checkedBefore);
        int attempts = 0;
        r.sys.registry.fail = [&](const std::string&, const std::string&, const std::string&) {
            return attempts++ == c.failing;
        };
        r.sys.boxes.answers = {MbAnswer::Ok, MbAnswer::No};  // keep the window open

        r.form.mnuStartInSystemTray_Click();

        EXPECT_EQ(attempts, 2);  // the other write is still made
        EXPECT_EQ(r.sys.registry.Writes(), c.writes);
        EXPECT_EQ(r.sys.boxes.Titles(), (std::vector<std::string>{"ERROR!", "Close Chimewell?"}));
        EXPECT_EQ(r.view.Status(), c.status);
        EXPECT_EQ(r.view.Checked(MainCtl::mnuStartInSystemTray), !c.checkedBefore);  // not put back
        EXPECT_FALSE(r.sys.runtime.ended);
    }
}

TEST(StartupOptions, FailedWriteWithCloseConfirmedEnds) {
    OptionsRig r(true);
    r.sys.registry.fail = [](const std::string&, const std::string&, const std::string&) { return true; };
    r.sys.boxes.answers = {MbAnswer::Ok, MbAnswer::Yes};
    r.form.mnuStartInSystemTray_Click();
    EXPECT_EQ(r.sys.runtime.endCalls, 1);
    EXPECT_EQ(r.sys.boxes.Titles(), (std::vector<std::string>{"ERROR!", "Close Chimewell?"}));
    EXPECT_NE(r.view.Status(), kOffStatus);
}

}  // namespace
}  // namespace chw
