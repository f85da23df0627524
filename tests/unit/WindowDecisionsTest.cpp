// The main window's decisions kept out of its window procedure: when each handler runs (the time box's
// gate for clicks while the box is being left and validated included), and where the focus goes on
// activation.
#include <gtest/gtest.h>

#include <string>

#include "app/FocusPolicy.h"
#include "app/HandlerQueue.h"

namespace chw::testing {
namespace {

constexpr WindowHandle kButton = 7;

// The window as the queue sees it; records what the queue asked of it.
struct FakeQueueHost : HandlerQueue::Host {
    bool pausing = false, sent = false;
    int wakes = 0, settled = 0;
    bool Pausing() const override { return pausing; }
    bool InSentMessage() const override { return sent; }
    void Wake() override { ++wakes; }
    void Settled() override { ++settled; }
};

// A handler submitted at a moment: now or in its turn, and the turns in the order the events came.
TEST(HandlerQueue, RunsAHandlerNowOrInItsTurnByWhatGoesOn) {
    using K = HandlerQueue::Kind;
    const struct {
        const char* name;
        bool pausing, sent, insideHandler;  // submitted from inside a running handler (a box)
        K kind;
        bool now;
    } cases[] = {
        {"idle", false, false, false, K::Event, true},
        {"idle step", false, false, false, K::Step, true},
        {"in a pause", true, false, false, K::Event, false},
        {"tick in a pause", true, false, false, K::Tick, false},
        {"step in a pause", true, false, false, K::Step, false},
        {"sent while idle", false, true, false, K::Event, true},
        {"inside a box", false, false, true, K::Event, true},
        {"sent into a box", false, true, true, K::Event, false},
        {"step sent into a box", false, true, true, K::Step, false},
        {"tick sent into a box", false, true, true, K::Tick, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeQueueHost host;
        HandlerQueue queue(host);
        std::string ran;
        auto submit = [&] {
            host.pausing = c.pausing;
            host.sent = c.sent;
            queue.Submit([&] { ran += "first;"; }, c.kind);
            queue.Submit([&] { ran += "second;"; }, K::Event);
            ran += "submitted;";
        };
        if (c.insideHandler)
            queue.Submit([&] {
                ran += "box;";
                submit();
            });
        else
            submit();
        // An event after it waits as it does, or as an event would.
        const bool secondNow = !c.pausing && !(c.sent && c.insideHandler);
        const std::string now = std::string(c.insideHandler ? "box;" : "") + (c.now ? "first;" : "") +
                                (secondNow ? "second;" : "") + "submitted;";
        EXPECT_EQ(ran, now);
        EXPECT_EQ(host.wakes > 0, !secondNow) << "what waits is sent on when nothing runs";
        host.pausing = host.sent = false;
        queue.RunWaiting();
        EXPECT_EQ(ran, now + (c.now ? "" : "first;") + (secondNow ? "" : "second;"));
        EXPECT_FALSE(queue.MustWait());
    }
}

TEST(HandlerQueue, TheOutermostHandlerSettlesAndNothingEscapesIt) {
    FakeQueueHost host;
    HandlerQueue queue(host);
    queue.Submit([&] { queue.Submit([] { throw 1; }); });
    EXPECT_EQ(host.settled, 1);
    EXPECT_TRUE(queue.Ask([] { return true; }));
    EXPECT_FALSE(queue.Ask([]() -> bool { throw 2; }));
    EXPECT_EQ(host.settled, 3);
    host.pausing = true;
    int ran = 0;
    queue.Submit([&] { ++ran; });
    queue.Clear();  // the window went
    host.pausing = false;
    queue.RunWaiting();
    EXPECT_EQ(ran, 0);
}

// A click arrives at a step of the time box being left; what ran, and in which order.
TEST(HandlerQueue, HoldsAClickUntilTheTimeIsAcceptedAndDropsItOtherwise) {
    enum class When { Open, Due, Validating };
    const struct {
        const char* name;
        When when;
        bool boxStillLeft;  // at the validation's turn
        bool cancelled;
        bool takes;         // the clicked control still takes the click (not pressed, still enabled)
        bool pausing;       // a pause at the validation's turn: it waits for the pause's end
        const char* ran;
    } cases[] = {
        {"no validation going on", When::Open, true, false, true, false, "click;validate;"},
        {"due, accepted", When::Due, true, false, true, false, "validate;click;"},
        {"inside the validation", When::Validating, true, false, true, false, "validate;click;"},
        {"rejected", When::Due, true, true, true, false, "validate;refused;"},
        {"focus came back first", When::Due, false, false, true, false, ""},
        {"press still going on", When::Due, true, false, false, false, "validate;"},
        {"after a pause", When::Due, true, false, true, true, "validate;click;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeQueueHost host;
        HandlerQueue queue(host);
        std::string ran;
        WindowHandle asked = 0;
        auto click = [&] { queue.Click([&] { ran += "click;"; }, kButton); };
        HandlerQueue::Validation validation{
            [&] { return c.boxStillLeft; },
            [&] {
                ran += "validate;";
                if (c.when == When::Validating) click();
                return c.cancelled;
            },
            [&] { ran += "refused;"; },
            [&](WindowHandle from) {
                asked = from;
                return c.takes;
            }};
        if (c.when == When::Open) click();
        ASSERT_TRUE(queue.Left(true));
        if (c.when == When::Due) click();
        host.pausing = c.pausing;
        queue.Validate(validation);
        EXPECT_EQ(ran, c.pausing ? "" : c.ran);
        host.pausing = false;
        queue.RunWaiting();
        queue.Validate(validation);  // a second turn finds nothing due
        EXPECT_EQ(ran, c.ran);
        if (!c.cancelled && c.boxStillLeft && c.when != When::Open) {
            EXPECT_EQ(asked, kButton);
        }
        EXPECT_FALSE(queue.Closed());  // open again for the next click
    }
}

TEST(HandlerQueue, ValidatesOnceForLeavingToTheWindowAndKeepsTheLatestClick) {
    FakeQueueHost host;
    HandlerQueue queue(host);
    EXPECT_FALSE(queue.Left(false));  // to another program
    EXPECT_FALSE(queue.Closed());
    EXPECT_TRUE(queue.Left(true));
    EXPECT_FALSE(queue.Left(true));  // one validation on its way is enough
    std::string ran;
    queue.Hold([&] { ran += "set;"; }, 1);
    queue.Click([&] { ran += "day;"; }, 2);
    queue.Validate({[] { return true; }, [] { return false; }, [] {}, [](WindowHandle from) { return from == 2; }});
    EXPECT_EQ(ran, "day;");

    // The box's own click: a press and a release with the focus kept; leaving forgets the press.
    EXPECT_FALSE(queue.Released());
    queue.Pressed();
    EXPECT_TRUE(queue.Released());
    queue.Pressed();
    queue.Left(false);
    EXPECT_FALSE(queue.Released());
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
