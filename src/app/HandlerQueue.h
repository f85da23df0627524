// The one place that decides when each of the main window's handlers runs: now, or in its turn once no
// handler must wait any more, in the order the events came. The window only turns a message into a
// handler and hands it here.
#pragma once

#include <deque>
#include <functional>

#include "platform/Types.h"

namespace chw {

class HandlerQueue {
public:
    using Handler = std::function<void()>;

    // What the window knows of the moment, and what it does for the queue.
    class Host {
    public:
        virtual ~Host() = default;
        // Inside a designed pause: nothing that a message would start may run.
        virtual bool Pausing() const = 0;
        // The message being handled was sent by another thread.
        virtual bool InSentMessage() const = 0;
        // Calls RunWaiting from the message queue, after what is being handled (and any pause) is over.
        virtual void Wake() = 0;
        // The outermost handler has ended.
        virtual void Settled() = 0;
    };

    enum class Kind {
        Event,  // waits in a pause, and when another thread's message arrives while a handler waits
        Tick,   // waits only in a pause: the watch goes on under every box
        Step,   // a step that runs handlers of its own (closing): waits as an event, is not one itself
    };

    explicit HandlerQueue(Host& host) : host_(host) {}

    // Whether an event must not start now.
    bool MustWait() const { return host_.Pausing() || (running_ > 0 && host_.InSentMessage()); }

    // Runs now, or keeps for its turn.
    void Submit(Handler handler, Kind kind = Kind::Event);
    // Runs now whatever goes on, when the window's answer depends on it; returns the handler's answer.
    bool Ask(const std::function<bool()>& handler);
    // The waiting ones, in order, while none must wait.
    void RunWaiting();
    // The window is going: what waits is dropped.
    void Clear() { waiting_.clear(); }

    // ---- The time box: while it is being left and its time validated, a click elsewhere waits, and
    // runs after the validation only when the time was accepted.

    // A mouse press on the box, and its release: the release is the box's click when the press was
    // there and the focus stayed.
    void Pressed() { pressed_ = true; }
    bool Released();
    // The focus leaves the box. True when the validation is now due: the focus went to another control
    // of the window and no validation is already on its way.
    bool Left(bool toOwnControl);
    // Whether clicks wait now: the validation is due or running.
    bool Closed() const { return due_ || validating_; }

    // A control's click: in its turn, or after the validation (the latest click waits).
    void Click(Handler handler, WindowHandle from);
    // A click remembered before it happened: the validation's boxes take the press away first.
    void Hold(Handler handler, WindowHandle from);

    struct Validation {
        std::function<bool()> boxStillLeft;  // false when the focus came back before its turn
        std::function<bool()> refuses;       // the handler: true when the time is refused
        std::function<void()> refused;       // what follows a refusal
        std::function<bool(WindowHandle from)> takes;  // whether the waiting click's control still takes it
    };
    // The validation's turn (a posted message): runs once, when due and nothing must wait.
    void Validate(const Validation& validation);

private:
    struct Waiting {
        Handler handler;
        Kind kind;
    };
    void Run(const Handler& handler);
    // A step runs bare: the handlers it runs are each run as one.
    void Start(const Waiting& waiting) { waiting.kind == Kind::Step ? waiting.handler() : Run(waiting.handler); }

    Host& host_;
    int running_ = 0;  // handlers running, nested ones (in boxes) included
    std::deque<Waiting> waiting_;

    bool pressed_ = false;
    bool due_ = false;
    bool validating_ = false;
    Handler held_;
    WindowHandle heldFrom_ = 0;
};

}  // namespace chw
