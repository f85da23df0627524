// The start-in-tray option: both registry entries, their order, and what a failed write leads to.
#include "MainFormRig.h"

namespace chw::testing {
namespace {

constexpr const char* kOffStatus = "Chimewell Will Not Start With Windows.  Ready.";
constexpr const char* kOnStatus = "CHWL Will Minimize To The System Tray Upon Start.  Ready.";
const std::string kRunOn = "Chimewell=c:\\Program Files\\Tallowmer\\CHWL\\CHWLU.EXE";
const std::string kRunOff = "Chimewell=-c:\\Program Files\\Tallowmer\\CHWL\\CHWLU.EXE";

// failing: -1 none; otherwise the index of the failed write, after which the close is declined.
TEST(StartupOptions, WritesInTheDirectionsOrderAndGoesOnAfterADeclinedClose) {
    const struct {
        bool checked;
        int failing;
        Strings writes;
        const char* status;
    } cases[] = {
        {true, -1, {"StartInTray=No", kRunOff}, kOffStatus},
        {false, -1, {kRunOn, "StartInTray=Yes"}, kOnStatus},
        {true, 0, {kRunOff}, kOffStatus},
        {true, 1, {"StartInTray=No"}, kOffStatus},
        {false, 0, {"StartInTray=Yes"}, kOnStatus},
        {false, 1, {kRunOn}, kOnStatus},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.checked) + " failing " + std::to_string(c.failing));
        MainFormRig r;
        r.view.SetChecked(MainCtl::mnuStartInSystemTray, c.checked);
        r.FailWrite(c.failing);
        r.Answer({MbAnswer::Ok, MbAnswer::No});

        r.form.mnuStartInSystemTray_Click();

        EXPECT_EQ(r.sys.registry.Writes(), c.writes);
        EXPECT_EQ(r.sys.boxes.Titles(), (c.failing < 0 ? Strings{} : Strings{"ERROR!", "Close Chimewell?"}));
        EXPECT_EQ(r.view.Status(), c.status);
        EXPECT_EQ(r.view.Checked(MainCtl::mnuStartInSystemTray), !c.checked);  // never put back
        EXPECT_FALSE(r.sys.runtime.ended);
    }
}

}  // namespace
}  // namespace chw::testing
