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
        // The "StartInTray" write refused; a refused Run entry is the next test's.
        {true, 0, {kRunOff}, kOffStatus},
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

// A standard user: the machine's Run key refuses, so the entry goes to the user's own, without a box.
// machine/user: the entries before the toggle ("" none); userRefused: the user's key refuses too.
TEST(StartupOptions, RefusedMachineRunKeyFallsBackToTheUsersOwn) {
    const std::string kUserOn = "HKCU " + kRunOn, kUserOff = "HKCU " + kRunOff;
    constexpr const char* kStillStarts =
        "Chimewell Will Still Start With Windows: An Administrator Set It For All Users.  Ready.";
    const std::string plain = settings::kRunCommand, dashed = settings::kRunCommandOff;
    const struct {
        bool checked;
        bool machineRefused;
        std::string machine, user;
        bool userRefused;
        Strings writes;
        const char* status;
    } cases[] = {
        {true, true, plain, "", false, {"StartInTray=No", kUserOff}, kStillStarts},
        {true, true, dashed, plain, false, {"StartInTray=No", kUserOff}, kOffStatus},
        {true, true, "", "", false, {"StartInTray=No", kUserOff}, kOffStatus},
        {false, true, "", "", false, {kUserOn, "StartInTray=Yes"}, kOnStatus},
        {false, true, dashed, dashed, false, {kUserOn, "StartInTray=Yes"}, kOnStatus},
        // Already on for everyone: a second entry would start a second copy.
        {false, true, plain, "", false, {"StartInTray=Yes"}, kOnStatus},
        // Writable again (an administrator): the user's entry from before is switched off.
        {false, false, dashed, plain, false, {kRunOn, kUserOff, "StartInTray=Yes"}, kOnStatus},
        {true, false, plain, plain, false, {"StartInTray=No", kRunOff, kUserOff}, kOffStatus},
        {true, false, plain, dashed, false, {"StartInTray=No", kRunOff}, kOffStatus},
        // Both refuse: the registry error as before.
        {true, true, plain, "", true, {"StartInTray=No"}, kStillStarts},
        {false, true, "", "", true, {"StartInTray=Yes"}, kOnStatus},
    };
    const std::string userRunKey = std::string("HKCU\\") + settings::kRunKey;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.checked) + " machine '" + c.machine + "' user '" + c.user + "'");
        MainFormRig r;
        if (!c.machine.empty()) r.sys.registry.Put(settings::kRunKey, "Chimewell", c.machine);
        if (!c.user.empty()) r.sys.registry.Put(userRunKey, "Chimewell", c.user);
        r.sys.registry.fail = [&](const std::string& op, const std::string& key, const std::string&) {
            return op != "read" && ((c.machineRefused && key == settings::kRunKey) || (c.userRefused && key == userRunKey));
        };
        r.Answer({MbAnswer::Ok, MbAnswer::No});

        r.view.SetChecked(MainCtl::mnuStartInSystemTray, c.checked);
        r.form.mnuStartInSystemTray_Click();

        EXPECT_EQ(r.sys.registry.Writes(), c.writes);
        EXPECT_EQ(r.sys.boxes.Titles(), (c.userRefused ? Strings{"ERROR!", "Close Chimewell?"} : Strings{}));
        EXPECT_EQ(r.view.Status(), c.status);
    }
}

// Task Manager's startup list switches the entry off in its own key, in the hive of the entry that
// starts the program; the program only reads it. bytes: the approved value's data ("" none).
TEST(StartupOptions, AnEntrySwitchedOffInTaskManagerIsToldAsNotStarting) {
    constexpr const char* kSwitchedOff =
        "Chimewell Will Not Start With Windows: It Is Switched Off In Task Manager's Startup Apps.  Ready.";
    constexpr const char* kStillStarts =
        "Chimewell Will Still Start With Windows: An Administrator Set It For All Users.  Ready.";
    const std::string off("\x03\0\0\0\x12\x34", 6), on("\x02\0\0\0\0\0", 6), onToo("\x06\0\0\0", 4);
    const struct {
        const char* name;
        bool checked, machineRefused;
        std::string machineApproved, userApproved;
        const char* status;
    } cases[] = {
        {"switched off in the machine's list", false, false, off, "", kSwitchedOff},
        {"approved", false, false, on, "", kOnStatus},
        {"approved, another enabled mark", false, false, onToo, "", kOnStatus},
        {"no mark at all", false, false, "", "", kOnStatus},
        {"only the other hive's mark", false, false, "", off, kOnStatus},
        {"the user's entry, switched off in the user's list", false, true, "", off, kSwitchedOff},
        {"the user's entry, the machine's mark does not count", false, true, off, "", kOnStatus},
        {"an empty mark", false, false, std::string(), "", kOnStatus},
        // Switching off: an entry for all users that Windows' list switched off does not start either.
        {"off, all users' entry switched off in its list", true, true, off, "", kOffStatus},
        {"off, all users' entry approved", true, true, on, "", kStillStarts},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainFormRig r;
        if (c.checked) r.sys.registry.Put(settings::kRunKey, "Chimewell", settings::kRunCommand);
        if (!c.machineApproved.empty()) r.sys.registry.Put(settings::kStartupApprovedKey, "Chimewell", c.machineApproved);
        if (!c.userApproved.empty())
            r.sys.registry.Put(std::string("HKCU\\") + settings::kStartupApprovedKey, "Chimewell", c.userApproved);
        r.sys.registry.fail = [&](const std::string& op, const std::string& key, const std::string&) {
            return op != "read" && c.machineRefused && key == settings::kRunKey;
        };
        r.view.SetChecked(MainCtl::mnuStartInSystemTray, c.checked);

        r.form.mnuStartInSystemTray_Click();

        EXPECT_EQ(r.view.Status(), c.status);
        for (const std::string& w : r.sys.registry.Writes()) EXPECT_EQ(w.find("StartupApproved"), std::string::npos);
        EXPECT_TRUE(r.sys.boxes.shown.empty());
    }
}

}  // namespace
}  // namespace chw::testing
