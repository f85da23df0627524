// Choosing the alarm's day and time: the typed-time reader, the date pick and the time box's validation.
#include <gtest/gtest.h>

#include "alarm/AlarmTexts.h"
#include "alarm/TimeEntry.h"
#include "AlarmFixture.h"

namespace chw::testing {
namespace {

using alarm::ParseTypedTime;
using alarm::TypedTime;

TEST(AlarmTypedTime, ReadsHourFromTheFirstTwoAndMinutesFromTheFourthAndFifthCharacters) {
    struct Case {
        const char* typed;
        std::optional<TypedTime> expected;
    };
    const Case cases[] = {
        {"07:30", TypedTime{7, 30}},
        {"12:00", TypedTime{12, 0}},
        {"07:5", TypedTime{7, 5}},
        {"0730", TypedTime{7, 0}},          // minutes are the fourth and fifth characters only
        {"10:31:05 AM", TypedTime{10, 31}},  // the running clock, left as it was
        {"  11:45  ", TypedTime{11, 45}},   // blanks around the text
        {"9 :15", TypedTime{9, 15}},        // a blank inside a piece
        {"01.59", TypedTime{1, 59}},        // the separator is not looked at
        {"7:30", std::nullopt},             // "7:" is not a number
        {"07:", std::nullopt},              // no minutes
        {"", std::nullopt},
        {"ab:cd", std::nullopt},
        {"13:00", std::nullopt},
        {"10:60", std::nullopt},
        {"00:15", std::nullopt},  // no clock reading ever shows hour 0
        {"-5:30", std::nullopt},
        {"12:-5", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(ParseTypedTime(c.typed), c.expected);
    }
}

using AlarmEntry = AlarmFixture;

TEST_F(AlarmEntry, WatchShowsTheSystemClockButComparesItsOwnMinute) {
    using TF = fakes::FakeClock::TimeFormat;
    struct Case {
        TF format;
        int hour, minute, second;
        const char* box;
        const char* now;
    };
    const Case cases[] = {{TF::US, 9, 5, 0, "9:05:00 AM", "9:05 AM"},
                          {TF::US, 22, 15, 30, "10:15:30 PM", "10:15 PM"},
                          {TF::LeadingZero12, 7, 5, 9, "07:05:09 AM", "7:05 AM"},
                          {TF::H24, 19, 5, 9, "19:05:09", "7:05 PM"},
                          {TF::H24, 0, 30, 0, "00:30:00", "12:30 AM"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        sys.clock.timeFormat = c.format;
        sys.clock.Set({{2026, 12, 7}, c.hour, c.minute, c.second});
        form.MyTimer_Timer();
        EXPECT_EQ(view.Caption(MainCtl::txtTime), c.box);
        EXPECT_EQ(form.State().NowText, c.now);
    }
}

TEST_F(AlarmEntry, DatePick) {
    struct Case {
        const char* name;
        Date clicked;
        std::string timeSet;
        bool accepted;
        std::string status;  // empty: left as it was
    };
    const Case cases[] = {
        {"yesterday", {2026, 12, 6}, "", false, ""},
        {"last year", {2025, 12, 31}, "7:05 AM", false, ""},
        {"today", {2026, 12, 7}, "", true, ""},
        {"later, time set", {2027, 1, 3}, "7:05 AM",
         true, "Alarm Settings: OFF  Date: 1/3/2027 Time: 7:05 AM ALARM IS SET."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlarmRig r;
        auto& s = r.sys;
        auto& v = r.view;
        auto& f = r.form;
        f.State().AlarmDate = "12/9/2026";
        f.State().AlarmTime = c.timeSet;
        v.SetEnabled(MainCtl::cmdReset, false);
        v.calendar = c.clicked;
        const std::string statusBefore = v.Status();

        f.MonthView_DateClick(c.clicked);

        EXPECT_TRUE(v.timer.Enabled());
        if (c.accepted) {
            EXPECT_TRUE(s.boxes.shown.empty());
            EXPECT_EQ(f.State().AlarmDate, s.clock.ShortDateText(c.clicked));
            EXPECT_EQ(v.Caption(MainCtl::lblDate), f.State().AlarmDate);
            EXPECT_TRUE(v.Enabled(MainCtl::cmdReset));
        } else {
            ASSERT_EQ(s.boxes.shown.size(), 1u);
            EXPECT_EQ(s.boxes.shown[0].title, "Date Selected Has Passed Already!");
            EXPECT_EQ(s.boxes.shown[0].text, "You Cannot Choose A Date In The Past!");
            EXPECT_EQ(s.boxes.shown[0].icon, MbIcon::Critical);
            EXPECT_EQ(f.State().AlarmDate, "12/9/2026");
            EXPECT_FALSE(v.Enabled(MainCtl::cmdReset));
            EXPECT_EQ(v.calendar, (Date{2026, 12, 7}));
        }
        EXPECT_EQ(v.Status(), c.status.empty() ? statusBefore : c.status);
    }
}

TEST_F(AlarmEntry, CalendarFallsBackToTodayWhenTheSavedPartsAreUnusable) {
    form.State().today.month = 0;  // unusable
    form.State().today.day = 0;
    view.calendar = {2027, 3, 1};
    form.MonthView_DateClick({2026, 1, 1});
    EXPECT_EQ(view.calendar, (Date{2026, 12, 7}));
}

TEST_F(AlarmEntry, AcceptedTime) {
    struct Case {
        const char* typed;
        MbAnswer answer;
        bool dateSet;
        const char* time;
        const char* status;
        bool inTrayKept;
    };
    const Case cases[] = {
        {"07:05", MbAnswer::Yes, false, "7:05 AM",
         "Alarm Settings: OFF  Date: No Date Selected Yet. Time: 7:05 AM ALARM NOT SET.", false},
        {"12:30", MbAnswer::No, true, "12:30 PM", "Alarm Settings: OFF  Date: 12/9/2026 Time: 12:30 PM ALARM IS SET.",
         true},
        {"10:31:05 AM", MbAnswer::Yes, true, "10:31 AM",
         "Alarm Settings: OFF  Date: 12/9/2026 Time: 10:31 AM ALARM IS SET.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        sys.boxes.shown.clear();
        view.focusHistory.clear();
        form.State().inTray = true;
        form.State().AlarmDate = c.dateSet ? "12/9/2026" : "";
        view.SetCaption(MainCtl::lblDate, form.State().AlarmDate);
        form.txtTime_Click();
        view.SetCaption(MainCtl::txtTime, c.typed);
        sys.boxes.answers.push_back(c.answer);
        bool cancel = true;
        form.txtTime_Validate(cancel);

        EXPECT_FALSE(cancel);
        ASSERT_EQ(sys.boxes.shown.size(), 1u);
        EXPECT_EQ(sys.boxes.shown[0].title, "AM/PM Query:");
        EXPECT_EQ(sys.boxes.shown[0].text, "Click 'Yes' For 'AM' and 'No' For 'PM'");
        EXPECT_EQ(sys.boxes.shown[0].buttons, MbButtons::YesNo);
        EXPECT_EQ(form.State().AlarmTime, c.time);
        EXPECT_EQ(view.Caption(MainCtl::txtTime), c.time);
        EXPECT_EQ(view.Status(), c.status);
        EXPECT_EQ(!form.State().inTray, !c.inTrayKept);
        EXPECT_EQ(view.focusHistory, std::vector<MainCtl>{MainCtl::cmdSet});
        EXPECT_FALSE(view.timer.Enabled());
        EXPECT_TRUE(view.Locked());  // read-only again: the next click starts the next typing
    }
}

TEST_F(AlarmEntry, TheClockNeverWritesOverATimeBeingTyped) {
    form.txtTime_Click();
    view.SetCaption(MainCtl::txtTime, "07:3");
    form.MyTimer_Timer();  // e.g. the watch restarted by a declined Exit
    EXPECT_EQ(view.Caption(MainCtl::txtTime), "07:3");
    sys.boxes.answers = {MbAnswer::Cancel};
    bool cancel = false;
    form.txtTime_Validate(cancel);
    form.MyTimer_Timer();
    EXPECT_EQ(view.Caption(MainCtl::txtTime), "9:00:00 AM");
}

TEST(AlarmStoredTexts, ReadBackOnlyInTheirOwnForm) {
    using alarm::TimeOfDay;
    const std::pair<const char*, std::optional<TimeOfDay>> times[] = {
        {"7:05 PM", TimeOfDay{19, 5}}, {"12:30 AM", TimeOfDay{0, 30}}, {"12:00 PM", TimeOfDay{12, 0}},
        {"07:05 PM", std::nullopt},     {"7:5 PM", std::nullopt},        {"0:15 AM", std::nullopt},
        {"7:05 pm", std::nullopt},      {"19:05", std::nullopt},         {"7:05 PM ", std::nullopt},
        {"", std::nullopt}};
    for (const auto& [text, expected] : times) EXPECT_EQ(alarm::ParseAlarmTime(text), expected) << text;

    struct DateCase {
        const char* text;
        const char* pattern;
        std::optional<Date> expected;
    };
    const DateCase dates[] = {{"12/7/2026", "M/d/yyyy", Date{2026, 12, 7}},
                              {"07/12/2026", "dd/MM/yyyy", Date{2026, 12, 7}},
                              {"7.12.2026", "d.M.yyyy", Date{2026, 12, 7}},
                              {"2026-12-07", "yyyy-MM-dd", Date{2026, 12, 7}},
                              {"07.12.26", "dd.MM.yy", Date{2026, 12, 7}},
                              {"2026.12.07.", "yyyy'. 'MM'. 'dd'.'", Date{2026, 12, 7}},
                              {"2/30/2026", "M/d/yyyy", std::nullopt},
                              {"13/7/2026", "M/d/yyyy", std::nullopt},
                              {"12/7", "M/d/yyyy", std::nullopt},
                              {"Dec 7, 2026", "MMM d, yyyy", std::nullopt},
                              {"tomorrow", "M/d/yyyy", std::nullopt}};
    for (const DateCase& c : dates) EXPECT_EQ(alarm::ReadShortDate(c.text, c.pattern), c.expected) << c.text;
}

TEST_F(AlarmEntry, MalformedTimeRetriedOrCancelled) {
    form.State().AlarmTime = "6:00 AM";
    form.txtTime_Click();
    view.SetCaption(MainCtl::txtTime, "7:30");

    sys.boxes.answers = {MbAnswer::Ok};
    bool cancel = false;
    form.txtTime_Validate(cancel);
    EXPECT_TRUE(cancel);  // the caret stays for another try
    EXPECT_FALSE(view.timer.Enabled());
    EXPECT_EQ(view.Status(), "Validating Input. . .");
    ASSERT_EQ(sys.boxes.shown.size(), 1u);
    EXPECT_EQ(sys.boxes.shown[0].title, "Validation Results:");
    EXPECT_EQ(sys.boxes.shown[0].text, "Incorrect Format!  Click OK To Try Again, Cancel To Exit");
    EXPECT_EQ(sys.boxes.shown[0].icon, MbIcon::Exclamation);
    EXPECT_EQ(sys.boxes.shown[0].buttons, MbButtons::OkCancel);

    sys.boxes.answers = {MbAnswer::Cancel};
    form.txtTime_Validate(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(view.timer.Enabled());
    EXPECT_EQ(view.Status(), "Ready.");
    EXPECT_EQ(form.State().AlarmTime, "6:00 AM");
}

}  // namespace
}  // namespace chw::testing
