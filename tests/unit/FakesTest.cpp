// The fakes themselves: time moves only as the logic would make it move.
#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace chw::fakes {

TEST(FakeTime, PausesAdvanceTheClockAndTimersFireInEventProcessing) {
    FakeSystem sys;
    FakeTimer timer(sys.scheduler, true, 100);
    int ticks = 0;
    timer.onTick = [&] { ++ticks; };
    sys.runtime.Pause(250);
    EXPECT_EQ(ticks, 0);  // nothing runs during a pause
    sys.runtime.DoEvents();
    EXPECT_EQ(ticks, 1);  // the overdue tick arrives once
    sys.runtime.DoEvents();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(sys.scheduler.nowMs, 350);
    EXPECT_EQ(sys.clock.Now().second, 0);
    sys.clock.Set({{2026, 12, 31}, 23, 59, 59});
    sys.runtime.Pause(1000);
    EXPECT_EQ(sys.clock.Now().date, (Date{2027, 1, 1}));
    EXPECT_EQ(sys.clock.TimeText(sys.clock.Now()), "12:00:00 AM");
    EXPECT_EQ(sys.clock.ShortDateText({2026, 1, 5}), "1/5/2026");
}

}  // namespace chw::fakes
