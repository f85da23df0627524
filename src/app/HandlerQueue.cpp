#include "app/HandlerQueue.h"

#include <utility>

namespace chw {

void HandlerQueue::Submit(Handler handler, Kind kind) {
    const bool wait = kind == Kind::Tick ? host_.Pausing() : MustWait();
    if (!wait) return Start({std::move(handler), kind});
    waiting_.push_back({std::move(handler), kind});
    // While a handler runs, its end sends them on their way; otherwise the message queue does, once
    // the pause is over (posted messages wait for it).
    if (running_ == 0) host_.Wake();
}

bool HandlerQueue::Ask(const std::function<bool()>& handler) {
    bool answer = false;
    Run([&answer, &handler] { answer = handler(); });
    return answer;
}

void HandlerQueue::Run(const Handler& handler) {
    ++running_;
    // Nothing may unwind into the window procedure.
    try {
        handler();
    } catch (...) {
    }
    --running_;
    if (running_ > 0) return;
    try {
        host_.Settled();
    } catch (...) {
    }
    if (!waiting_.empty()) host_.Wake();
}

void HandlerQueue::RunWaiting() {
    while (!waiting_.empty() && !MustWait() && running_ == 0) {
        Waiting next = std::move(waiting_.front());
        waiting_.pop_front();
        Start(next);
    }
}

bool HandlerQueue::Released() { return std::exchange(pressed_, false); }

bool HandlerQueue::Left(bool toOwnControl) {
    pressed_ = false;
    if (Closed() || !toOwnControl) return false;
    due_ = true;
    return true;
}

void HandlerQueue::Hold(Handler handler, WindowHandle from) {
    held_ = std::move(handler);
    heldFrom_ = from;
}

void HandlerQueue::Click(Handler handler, WindowHandle from) {
    if (Closed())
        Hold(std::move(handler), from);
    else if (handler)
        Submit(std::move(handler));
}

void HandlerQueue::Validate(const Validation& validation) {
    if (!due_) return;  // already run (a copy of it that waited came after)
    // The validation and what follows it wait together; its answer is read right after it runs.
    if (MustWait()) {
        Submit([this, validation] { Validate(validation); }, Kind::Step);
        return;
    }
    due_ = false;
    if (!validation.boxStillLeft()) {  // the focus came back: nothing was left
        held_ = nullptr;
        heldFrom_ = 0;
        return;
    }
    validating_ = true;
    const bool refused = Ask(validation.refuses);
    validating_ = false;
    Handler held = std::exchange(held_, nullptr);
    const WindowHandle from = std::exchange(heldFrom_, 0);
    if (refused) {
        validation.refused();
        return;
    }
    if (held && validation.takes(from)) Submit(std::move(held));
}

}  // namespace chw
