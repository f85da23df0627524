// A standard user's day after an administrator ran the setup: Wine runs everything as an
// administrator, so the user's refusals are made with deny entries, as Windows has them for a
// standard user: no new key and no value directly in HKLM\SOFTWARE, no value in the machine's Run key.
#include "AroundRig.h"

namespace e2e {
namespace {

class StandardUser : public AroundRig {};

constexpr const char* kOnStatus = "CHWL Will Minimize To The System Tray Upon Start.  Ready.";
constexpr const char* kOffStatus = "Chimewell Will Not Start With Windows.  Ready.";
constexpr const char* kStillStartsStatus =
    "Chimewell Will Still Start With Windows: An Administrator Set It For All Users.  Ready.";
constexpr const char* kProgramCommandOff = "-c:\\Program Files\\Tallowmer\\CHWL\\CHWLU.EXE";
constexpr const char* kUserRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string UserRunEntry() { return ReadValue(kUserRunKey, "Chimewell", HKEY_CURRENT_USER).value_or("<missing>"); }
std::string MachineRunEntry() { return ReadValue(kRunKey, "Chimewell").value_or("<missing>"); }

TEST_F(StandardUser, SetupThenFirstStartOptionsAndExitWithoutAdministratorRights) {
    if (TooLateForTheAlarm()) GTEST_SKIP() << "too close to midnight for a same-day alarm";
    const std::string setup = EnvVar("CHW_E2E_SETUP");
    if (setup.empty()) GTEST_SKIP() << "no setup program was built";

    // The setup, as an administrator runs it; key security lasts as long as this prefix's server,
    // which this test program keeps running, so the rights it gives hold for the whole journey.
    Process installer;
    ASSERT_TRUE(installer.Start(WinPathOf(setup), "C:\\", "/S"));
    ASSERT_TRUE(installer.WaitExit(120000)) << "the setup did not finish";
    ASSERT_TRUE(KeyExists(kSettingsKey)) << "the setup must create the settings key";
    EXPECT_EQ(ExplicitAllowedRights(kSettingsKey, WinBuiltinUsersSid),
              static_cast<DWORD>(KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY));
    ASSERT_TRUE(ReadAllValues(kSettingsKey).empty()) << "the setup writes no settings value: this is a first start";
    std::printf("checked: the setup made the settings key, empty, and let the Users group write it\n");

    KeyLock software, run;
    ASSERT_TRUE(software.Deny("SOFTWARE", KEY_CREATE_SUB_KEY | KEY_SET_VALUE));
    ASSERT_TRUE(run.Deny(kRunKey, KEY_SET_VALUE));
    // Only trusted once seen refusing: two new levels, since one level was seen to get through.
    HKEY probe = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ChimewellProbe\\Deeper", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &probe, nullptr),
              ERROR_ACCESS_DENIED);
    if (probe) RegCloseKey(probe);
    EXPECT_FALSE(WriteValue(kRunKey, "ChimewellProbe", "x")) << "the machine's Run key must refuse values";
    EXPECT_FALSE(WriteValue("SOFTWARE", "ChimewellProbe", "x")) << "HKLM\\SOFTWARE must refuse values";

    ASSERT_NO_FATAL_FAILURE(Start(false));
    auto box = WaitMsgBox(app_.Id(), 1000);
    EXPECT_FALSE(box) << "first start: a box \"" << (box ? box->title : "") << "\"";
    EXPECT_EQ(Setting("StartInTray"), "No");
    EXPECT_EQ(Setting("WinAmpOnStart"), "No");
    std::printf("checked: the first start writes its two defaults without a box\n");

    // F2 on and off: the user's own Run entry takes what the machine's refuses. Then with an entry
    // for all users that an administrator left on: switching off says it still starts.
    struct Toggle {
        const char* name;
        const char* status;
        const char* startInTray;
        const char* userEntry;
        const char* machineEntry;
    };
    const Toggle toggles[] = {
        {"F2 on", kOnStatus, "Yes", kProgramCommand, "<missing>"},
        {"F2 off", kOffStatus, "No", kProgramCommandOff, "<missing>"},
        {"F2 on, all users' entry on", kOnStatus, "Yes", kProgramCommandOff, kProgramCommand},
        {"F2 off, all users' entry on", kStillStartsStatus, "No", kProgramCommandOff, kProgramCommand},
    };
    for (const Toggle& t : toggles) {
        if (t.machineEntry == std::string(kProgramCommand) && MachineRunEntry() != kProgramCommand) {
            ASSERT_TRUE(run.Release());  // the administrator's doing
            ASSERT_TRUE(WriteValue(kRunKey, "Chimewell", kProgramCommand));
            ASSERT_TRUE(run.Deny(kRunKey, KEY_SET_VALUE));
        }
        Shortcut(VK_F2);
        EXPECT_TRUE(WaitUntil([&] { return StatusText(c_) == t.status; }, 5000)) << t.name << ": " << StatusText(c_);
        auto refused = WaitMsgBox(app_.Id(), 500);
        EXPECT_FALSE(refused) << t.name << ": a box \"" << (refused ? refused->text : "") << "\"";
        EXPECT_EQ(Setting("StartInTray"), t.startInTray) << t.name;
        EXPECT_EQ(UserRunEntry(), t.userEntry) << t.name;
        EXPECT_EQ(MachineRunEntry(), t.machineEntry) << t.name;
        std::printf("checked: %s: \"%s\", the user's Run entry \"%s\"\n", t.name, t.status, UserRunEntry().c_str());
    }

    Shortcut(VK_F3);
    EXPECT_TRUE(WaitUntil([&] { return Setting("WinAmpOnStart") == "Yes"; }, 5000));
    EXPECT_FALSE(WaitMsgBox(app_.Id(), 500)) << "F3: no box";
    std::printf("checked: F3 writes WinAmpOnStart without a box\n");

    ASSERT_NO_FATAL_FAILURE(ChooseAlarmForToday());
    PostMenuCommand(c_.main, IDM_EXITAPP);
    Answer(kCloseTitle, IDYES);
    Answer("Save Settings?", IDYES);
    EXPECT_TRUE(app_.WaitExit(15000)) << "the program should end after the save";
    std::map<std::string, std::string> saved{{"StartInTray", "No"},   {"WinAmpOnStart", "Yes"},
                                             {"SettingsSaved", "Yes"}, {"Date:", ShortDate(Today())},
                                             {"Time:", kAlarmTime}};
    EXPECT_EQ(ReadAllValues(kSettingsKey), saved);
    EXPECT_FALSE(KeyExists("SOFTWARE\\ChimewellProbe"));
    std::printf("checked: Exit saves the alarm in the settings key; nothing else was written\n");
}

}  // namespace
}  // namespace e2e
