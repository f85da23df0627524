// The services against the real registry, file system and process start.
#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include <cstdint>
#include <vector>

#include "Win32Services.h"
#include "resource.h"
#include "ViewRules.h"
#include "Win32Util.h"
#include "WindowTimer.h"
#include "version.h"

namespace chw::win32 {
namespace {

constexpr char kTestKey[] = "SOFTWARE\\ChimewellLayerTest";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ChimewellLayerTest"); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ChimewellLayerTest"); }
    Win32Registry registry;
};

TEST_F(RegistryTest, WritingToAMissingKeyFailsAndDoesNotCreateIt) {
    EXPECT_FALSE(registry.SetString(Hive::Machine, kTestKey, "StartInTray", "No"));
    HKEY key = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ChimewellLayerTest", 0, KEY_READ, &key), ERROR_SUCCESS);
    if (key) ::RegCloseKey(key);
}

TEST_F(RegistryTest, KeyPathsWithATrailingBackslashReachTheSameKey) {
    ASSERT_TRUE(registry.CreateKey(Hive::Machine, std::string(kTestKey) + "\\"));
    ASSERT_TRUE(registry.SetString(Hive::Machine, std::string(kTestKey) + "\\", "Date:", "12/7/2026"));
    EXPECT_EQ(registry.GetString(Hive::Machine, kTestKey, "Date:"), "12/7/2026");
}

TEST_F(RegistryTest, ReadsGiveTheTextOrNothing) {
    ASSERT_TRUE(registry.CreateKey(Hive::Machine, kTestKey));
    // Non-ASCII texts survive the UTF-8 / UTF-16 boundary; an empty text is a text.
    ASSERT_TRUE(registry.SetString(Hive::Machine, kTestKey, "Name", "Chimewell\xE2\x84\xA2"));
    ASSERT_TRUE(registry.SetString(Hive::Machine, kTestKey, "Empty", ""));
    DWORD number = 1;
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ChimewellLayerTest", 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    ::RegCloseKey(key);

    struct Case {
        const char* key;
        const char* name;
        std::optional<std::string> expected;
    } cases[] = {
        {kTestKey, "Name", "Chimewell\xE2\x84\xA2"},
        {kTestKey, "Empty", ""},
        {kTestKey, "Number", std::nullopt},   // not a text
        {kTestKey, "Missing", std::nullopt},  // no such value
        {"SOFTWARE\\ChimewellLayerTest\\NoSuchKey", "Name", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(registry.GetString(Hive::Machine, c.key, c.name), c.expected) << c.name;
}

TEST(FileSystemTest, FoldersAndFilesAreToldApart) {
    Win32FileSystem files;
    std::string system = files.SystemFolder();
    ASSERT_FALSE(system.empty());
    EXPECT_NE(system.back(), '\\');
    std::string app = files.AppFolder();
    wchar_t exe[MAX_PATH];
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);

    struct Case {
        std::string path;
        bool folder, file;
    } cases[] = {
        {system, true, false},
        {app, true, false},
        {Utf8(exe), false, true},
        {system + "\\no-such-thing", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files.FolderExists(c.path), c.folder) << c.path;
        EXPECT_EQ(files.FileExists(c.path), c.file) << c.path;
    }
}

TEST(ProcessLauncherTest, UnquotedPathsWithBlanksStartAndMissingProgramsAreReported) {
    // A program in a folder with a blank in its name, started by an unquoted command line.
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"chw launch test";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t system[MAX_PATH];
    ::GetSystemDirectoryW(system, MAX_PATH);
    std::wstring program = folder + L"\\run me.exe";
    ASSERT_TRUE(::CopyFileW((std::wstring(system) + L"\\cmd.exe").c_str(), program.c_str(), FALSE));

    Win32ProcessLauncher launcher;
    LaunchResult started = launcher.Launch(Utf8(program) + " /c exit", WindowStyle::Hidden);
    EXPECT_TRUE(started.Started());

    struct Case {
        std::string commandLine;
        LaunchError error;
    } missing[] = {
        {"c:\\no such folder\\player.exe", LaunchError::FileNotFound},
        {Utf8(folder) + "\\absent.exe", LaunchError::FileNotFound},
    };
    for (const auto& c : missing) {
        LaunchResult result = launcher.Launch(c.commandLine, WindowStyle::MinimizedNoFocus);
        EXPECT_FALSE(result.Started()) << c.commandLine;
        EXPECT_EQ(result.error, c.error) << c.commandLine;
    }
    ::Sleep(200);  // let the started program end before its file goes
    ::DeleteFileW(program.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

TEST(RuntimeTest, VersionComesFromTheVersionResource) {
    UiLoop loop;
    Win32Runtime runtime(loop, nullptr);
    Version v = runtime.ProgramVersion();
    EXPECT_EQ(v.major, CHW_VERSION_MAJOR);
    EXPECT_EQ(v.minor, CHW_VERSION_MINOR);
    EXPECT_EQ(v.revision, CHW_VERSION_PATCH);
}

// Rules like those of New York: UTC-5, an hour ahead from the second Sunday of March at 2:00 to the first
// Sunday of November at 2:00 (in 2026: March 8 and November 1).
TIME_ZONE_INFORMATION EasternZone() {
    TIME_ZONE_INFORMATION zone{};
    zone.Bias = 300;
    zone.StandardDate = SYSTEMTIME{0, 11, 0, 1, 2, 0, 0, 0};
    zone.DaylightDate = SYSTEMTIME{0, 3, 0, 2, 2, 0, 0, 0};
    zone.DaylightBias = -60;
    return zone;
}

std::int64_t Utc(int year, int month, int day, int hour, int minute) {
    SYSTEMTIME st{static_cast<WORD>(year), static_cast<WORD>(month), 0, static_cast<WORD>(day),
                  static_cast<WORD>(hour), static_cast<WORD>(minute), 0, 0};
    FILETIME ft{};
    ::SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER u{{ft.dwLowDateTime, ft.dwHighDateTime}};
    return static_cast<std::int64_t>(u.QuadPart / 10000000ULL) - 11644473600LL;
}

TEST(ClockTest, LocalTimesStandForOneMomentAcrossTheChangesOfTheClocks) {
    struct Case {
        DateTime local;
        std::int64_t utc;
        const char* what;
    } cases[] = {
        {{{2026, 1, 15}, 12, 0, 0}, Utc(2026, 1, 15, 17, 0), "winter"},
        {{{2026, 7, 1}, 12, 0, 0}, Utc(2026, 7, 1, 16, 0), "summer"},
        {{{2026, 3, 8}, 1, 59, 0}, Utc(2026, 3, 8, 6, 59), "the minute before the gap"},
        {{{2026, 3, 8}, 2, 0, 0}, Utc(2026, 3, 8, 7, 0), "the gap's first minute: 3:00 daylight time"},
        {{{2026, 3, 8}, 2, 30, 0}, Utc(2026, 3, 8, 7, 0), "inside the gap: 3:00 daylight time"},
        {{{2026, 3, 8}, 3, 0, 0}, Utc(2026, 3, 8, 7, 0), "the first minute after the gap"},
        {{{2026, 11, 1}, 0, 59, 0}, Utc(2026, 11, 1, 4, 59), "before the doubled hour"},
        {{{2026, 11, 1}, 1, 30, 0}, Utc(2026, 11, 1, 5, 30), "the doubled hour: its first showing"},
        {{{2026, 11, 1}, 2, 0, 0}, Utc(2026, 11, 1, 7, 0), "after the doubled hour"},
    };
    const TIME_ZONE_INFORMATION zone = EasternZone();
    for (const auto& c : cases) EXPECT_EQ(MomentIn(zone, c.local), c.utc) << c.what;

    // The machine's own zone agrees with its own clock.
    Win32Clock clock;
    const std::int64_t before = clock.UtcSeconds();
    const std::int64_t now = clock.MomentOf(clock.Now());
    EXPECT_GE(now, before - 1);
    EXPECT_LE(now, clock.UtcSeconds());
    // Asked again, and for another year in between, it answers as a clock asked for the first time.
    const DateTime july{{2027, 7, 1}, 12, 0, 0}, january{{2026, 1, 15}, 12, 0, 0};
    for (const DateTime& when : {july, january, january, july})
        EXPECT_EQ(clock.MomentOf(when), Win32Clock().MomentOf(when)) << when.date.year;
}

TEST(AlarmSoundTest, TheBuiltInSoundIsASecondOfFourBeepsAndPlaysWhereThereIsADevice) {
    const std::vector<std::uint8_t> wave = AlarmWave();
    ASSERT_EQ(wave.size(), 44u + 32000u);  // one second of 16-bit mono at 16 kHz
    const std::string bytes(wave.begin(), wave.end());
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(bytes.substr(36, 4), "data");
    auto sample = [&](size_t i) {
        return static_cast<std::int16_t>(wave[44 + 2 * i] | (wave[45 + 2 * i] << 8));
    };
    // Ramped in and out, loud in the middle of a beep, silent between the beeps and at the loop's joint.
    const struct {
        size_t at;
        int value;
    } kSamples[] = {{0, 0}, {2, 386}, {201, 16219}, {202, 12351}, {205, -16219}, {1698, 11772},
                    {1759, 0}, {2000, 0}, {2881, 253}, {8909, -16219}, {12000, 0}, {15999, 0}};
    for (const auto& s : kSamples) EXPECT_EQ(sample(s.at), s.value) << "sample " << s.at;

    Win32AlarmSound sound;
    EXPECT_EQ(sound.Start(), ::waveOutGetNumDevs() > 0);
    sound.Stop();
    sound.Stop();  // a second stop is harmless
}

TEST(PowerTest, AWakeIsSetReplacedAndCancelledAndKeepingAwakeIsUndone) {
    Win32Power power;
    Win32Clock clock;
    // Wine sets the timer but cannot wake the machine for it, and says so: the answer is the same each time.
    const bool wakes = power.WakeAt(clock.UtcSeconds() + 3600);
    EXPECT_EQ(power.WakeAt(clock.UtcSeconds() + 7200), wakes);
    power.CancelWake();
    const auto state = [] { return ::SetThreadExecutionState(ES_CONTINUOUS) & (ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED); };
    power.KeepAwake(AwakeLevel::Display, true);
    EXPECT_EQ(state(), static_cast<EXECUTION_STATE>(ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED));
    power.KeepAwake(AwakeLevel::System, true);
    power.KeepAwake(AwakeLevel::Display, false);
    EXPECT_EQ(state(), static_cast<EXECUTION_STATE>(ES_SYSTEM_REQUIRED)) << "the armed wish outlives the ringing";
    power.KeepAwake(AwakeLevel::System, false);
    EXPECT_EQ(state(), 0u);
    // The questions about waking answer, whatever this system knows (Wine has no power plan).
    power.ModernStandby();
    power.WakeTimersAllowed(power.Source());
}

TEST_F(RegistryTest, ViewsAndBinaryValuesAreRead) {
    ASSERT_TRUE(registry.CreateKey(Hive::Machine, kTestKey));
    ASSERT_TRUE(registry.SetString(Hive::Machine, kTestKey, "", "C:\\Apps\\winamp.exe"));
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ChimewellLayerTest", 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    const BYTE approved[] = {3, 0, 0, 0, 9};
    ::RegSetValueExW(key, L"Chimewell", 0, REG_BINARY, approved, sizeof(approved));
    ::RegCloseKey(key);
    EXPECT_EQ(registry.GetString(Hive::Machine, kTestKey, "", RegView::Bits64), "C:\\Apps\\winamp.exe");
    EXPECT_EQ(registry.GetBinary(Hive::Machine, kTestKey, "Chimewell"), (std::vector<std::uint8_t>{3, 0, 0, 0, 9}));
    EXPECT_EQ(registry.GetBinary(Hive::Machine, kTestKey, ""), std::nullopt) << "a text is no binary value";
    EXPECT_EQ(registry.GetBinary(Hive::Machine, kTestKey, "Missing"), std::nullopt);
    EXPECT_FALSE(Win32FileSystem().ProgramFilesX86Folder().empty());
}

TEST(ViewRulesTest, MenuTextsSplitIntoCaptionAndShortcut) {
    struct Case {
        const wchar_t* text;
        const wchar_t* caption;
        const wchar_t* shortcut;
    } cases[] = {
        {L"&Start In System Tray\tF2", L"&Start In System Tray", L"\tF2"},
        {L"E&xit\tCtrl+X", L"E&xit", L"\tCtrl+X"},
        {L"Se&t Alarm", L"Se&t Alarm", L""},
        {L"", L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CaptionPart(c.text), c.caption);
        EXPECT_EQ(ShortcutPart(c.text), c.shortcut);
    }
}

TEST(ViewRulesTest, DaysAreClampedToTheMonth) {
    struct Case {
        int year, month, day, expected;
    } cases[] = {
        {2024, 2, 31, 29}, {2023, 2, 30, 28}, {2100, 2, 29, 28}, {2000, 2, 30, 29},
        {2026, 4, 31, 30}, {2026, 12, 31, 31}, {2026, 1, 0, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(ClampDay(c.year, c.month, c.day), c.expected) << c.year << "-" << c.month;
}

TEST(LayoutTest, TwipsScaleWithTheDpi) {
    EXPECT_EQ(Twips(5790, 96), 386);
    EXPECT_EQ(Twips(3150, 96), 210);
    EXPECT_EQ(Twips(15, 96), 1);
    EXPECT_EQ(Twips(5790, 144), 579);
}

// The pixels of a line of text drawn in a font on white.
std::vector<std::uint32_t> Drawn(HFONT font) {
    constexpr int w = 200, h = 24;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBmp = ::SelectObject(dc, bmp);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    RECT all{0, 0, w, h};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::TextOutW(dc, 2, 2, L"12:59:47 PM Snooze", 18);
    ::GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits), static_cast<const std::uint32_t*>(bits) + w * h);
    ::SelectObject(dc, oldFont);
    ::SelectObject(dc, oldBmp);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
    return pixels;
}

TEST(LayoutTest, RasterFacesAreAskedForUnsmoothedAndDrawTheSame) {
    struct Case {
        const wchar_t* face;
        bool raster;
    } cases[] = {{L"MS Sans Serif", true}, {L"Tahoma", false}};
    for (const Case& c : cases) {
        UniqueFont font = MakeFont(c.face, 8, 96);
        ASSERT_TRUE(font);
        EXPECT_EQ(Realize(font.get()).Raster(), c.raster) << c.face;
        LOGFONTW asked{};
        ::GetObjectW(font.get(), sizeof(asked), &asked);
        EXPECT_EQ(asked.lfQuality, c.raster ? NONANTIALIASED_QUALITY : CLEARTYPE_QUALITY) << c.face;
        UniqueFont smooth(::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                        CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, c.face));
        EXPECT_TRUE(Drawn(font.get()) == Drawn(smooth.get())) << c.face;
    }
}

TEST(WindowTimerTest, ATickOnTheSecondSetsTheTimerAgainOnlyWhereItsPhaseNeedsIt) {
    using Plan = WindowTimer::TickPlan;
    struct Case {
        int msIntoSecond, period;
        bool due;
        int rearm;
    } cases[] = {
        {20, 1000, true, 0},      // on time and running every second: left alone
        {75, 1000, true, 0},      // a little late still counts as on time
        {25, 995, true, 1000},    // on time after an aligning delay: every second from now on
        {300, 1000, true, 720},   // drifted: back to 20 ms past the next second
        {900, 1000, false, 120},  // just before the second: held until just after it
    };
    for (const Case& c : cases) {
        const Plan plan = WindowTimer::PlanTick(c.msIntoSecond, c.period, 1000);
        EXPECT_EQ(plan.due, c.due) << c.msIntoSecond;
        EXPECT_EQ(plan.rearm, c.rearm) << c.msIntoSecond;
    }
}

}  // namespace
}  // namespace chw::win32
