// The main window's decisions kept out of its window procedure: the time box's gate for clicks while
// the box is being left and validated, and where the focus goes on activation.
#include <gtest/gtest.h>

#include <string>

#include "app/FocusPolicy.h"
#include "app/TimeBoxGate.h"

namespace chw::testing {
namespace {

constexpr WindowHandle kButton = 7;

// A click arrives at a step of the time box being left; what ran, and in which order.
TEST(TimeBoxGate, HoldsAClickUntilTheTimeIsAcceptedAndDropsItOtherwise) {
    enum class When { Open, Due, Validating };
    const struct {
        const char* name;
        When when;
        bool boxStillLeft;  // at the validation's turn
        bool cancelled;
        bool takes;         // the clicked control still takes the click (not pressed, still enabled)
        const char* ran;
    } cases[] = {
        {"no validation going on", When::Open, true, false, true, "click;validate;"},
        {"due, accepted", When::Due, true, false, true, "validate;click;"},
        {"inside the validation", When::Validating, true, false, true, "validate;click;"},
        {"rejected", When::Due, true, true, true, "validate;"},
        {"focus came back first", When::Due, false, false, true, ""},
        {"press still going on", When::Due, true, false, false, "validate;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TimeBoxGate gate;
        std::string ran;
        WindowHandle asked = 0;
        auto click = [&] { gate.Click([&] { ran += "click;"; }, kButton); };
        if (c.when == When::Open) click();
        ASSERT_TRUE(gate.Left(true));
        if (c.when == When::Due) click();
        if (gate.Begin(c.boxStillLeft)) {
            ran += "validate;";
            if (c.when == When::Validating) click();
            gate.End(c.cancelled, [&](WindowHandle from) {
                asked = from;
                return c.takes;
            });
        }
        EXPECT_EQ(ran, c.ran);
        if (!c.cancelled && c.boxStillLeft && c.when != When::Open) {
            EXPECT_EQ(asked, kButton);
        }
        EXPECT_FALSE(gate.Closed());  // open again for the next click
    }
}

TEST(TimeBoxGate, ValidatesOnceForLeavingToTheWindowAndKeepsTheLatestClick) {
    TimeBoxGate gate;
    EXPECT_FALSE(gate.Left(false));  // to another program
    EXPECT_FALSE(gate.Closed());
    EXPECT_TRUE(gate.Left(true));
    EXPECT_FALSE(gate.Left(true));  // one validation on its way is enough
    std::string ran;
    gate.Hold([&] { ran += "set;"; }, 1);
    gate.Click([&] { ran += "day;"; }, 2);
    ASSERT_TRUE(gate.Begin(true));
    gate.End(false, [](WindowHandle from) { return from == 2; });
    EXPECT_EQ(ran, "day;");

    // The box's own click: a press and a release with the focus kept; leaving forgets the press.
    EXPECT_FALSE(gate.Released());
    gate.Pressed();
    EXPECT_TRUE(gate.Released());
    gate.Pressed();
    gate.Left(false);
    EXPECT_FALSE(gate.Released());
}

TEST(FocusPolicy, ActivationKeepsOrRestoresTheFocusedControl) {
    using A = FocusPolicy::Activation;
    using M = FocusPolicy::Move;
    constexpr WindowHandle kCalendar = 5;
    const struct {
        const char* name;
        bool remembered;  // the calendar had the focus at the last deactivation
        A how;
        FocusPolicy::Facts now;  // minimised, focus, clicked takes focus, last usable, last inside
        M move;
    } cases[] = {
        {"minimised", true, A::Other, {true, 0, false, true, true}, M::Default},
        {"a control has it", true, A::Click, {false, kButton, true, true, true}, M::Keep},
        {"clicked on a control", true, A::Click, {false, 0, true, true, true}, M::ToClicked},
        {"clicked elsewhere", true, A::Click, {false, 0, false, true, true}, M::ToLast},
        {"by the keyboard", true, A::Other, {false, 0, true, true, true}, M::ToLast},
        {"remembered one disabled", true, A::Other, {false, 0, false, false, true}, M::Default},
        {"remembered one gone", true, A::Other, {false, 0, false, true, false}, M::Default},
        {"nothing remembered", false, A::Other, {false, 0, false, true, true}, M::Default},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FocusPolicy policy;
        FocusPolicy::Facts leaving;
        leaving.focus = c.remembered ? kCalendar : 0;
        EXPECT_EQ(policy.Activated(A::Inactive, leaving), M::Keep);
        EXPECT_EQ(policy.Activated(c.how, c.now), c.move);
        if (c.move == M::ToLast) {
            EXPECT_EQ(policy.Last(), kCalendar);
        }
    }
}

TEST(FocusPolicy, FocusGoesToTheRememberedControlOrTheFirstAndTheForegroundOnlyWhenFree) {
    FocusPolicy policy;
    FocusPolicy::Facts now;
    now.lastUsable = true;
    EXPECT_EQ(policy.FocusReceived(now), FocusPolicy::Move::ToFirst);
    FocusPolicy::Facts leaving;
    leaving.focus = kButton;
    policy.Activated(FocusPolicy::Activation::Inactive, leaving);
    EXPECT_EQ(policy.FocusReceived(now), FocusPolicy::Move::ToLast);
    now.lastUsable = false;
    EXPECT_EQ(policy.FocusReceived(now), FocusPolicy::Move::ToFirst);
    // A deactivation with the focus outside the window keeps the control remembered before.
    policy.Activated(FocusPolicy::Activation::Inactive, FocusPolicy::Facts{});
    EXPECT_EQ(policy.Last(), kButton);

    EXPECT_TRUE(FocusPolicy::TakeForeground(true, false));
    EXPECT_FALSE(FocusPolicy::TakeForeground(true, true));
    EXPECT_FALSE(FocusPolicy::TakeForeground(false, false));
}

}  // namespace
}  // namespace chw::testing
