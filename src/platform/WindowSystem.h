// Windows of other programs (and our own top-level ones) and the messages sent to them.
#pragma once

#include <optional>
#include <string>

#include "platform/Types.h"

namespace chw {

// How a window is to be shown.
enum class ShowCommand {
    Hide,
    Normal,       // shown and active, at its normal size
    Minimize,     // minimised, the next window activated
    Restore,      // back from minimised or maximised
    ShowDefault,  // as its program would show it when started
};

class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;

    // First top-level window of the class; with a title, its caption must match exactly.
    virtual WindowHandle Find(const std::string& windowClass, const std::optional<std::string>& title) = 0;
    // Synchronous, waiting at most timeoutMs and not at all for a window that has stopped answering: the
    // target's reply, or nothing when there is no such window, it is hung or it did not answer in time.
    virtual std::optional<std::intptr_t> SendMsg(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                                 std::intptr_t lParam, int timeoutMs) = 0;
    // Queues the message; false when it could not be queued.
    virtual bool PostMsg(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual void Show(WindowHandle window, ShowCommand command) = 0;
    virtual bool IsMinimized(WindowHandle window) = 0;
    virtual void BringToFront(WindowHandle window) = 0;
    // The main window of the instance that owns this application window (0 when it has none yet).
    virtual WindowHandle MainWindowOf(WindowHandle applicationWindow) = 0;
    // Replaces the item at a zero-based position of the window's own system menu by a greyed one with this
    // caption and no command: for the Close item, the window can no longer be closed from its title bar.
    virtual bool GreySystemMenuItem(WindowHandle window, int position, const std::string& caption) = 0;
};

}  // namespace chw
