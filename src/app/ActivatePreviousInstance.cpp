#include "app/StartupTexts.h"
#include "app/frmIntro.h"

namespace chw {

bool ActivatePreviousInstance(Platform& platform) {
    IRuntime& runtime = platform.runtime;
    IWindowSystem& windows = platform.windows;

    const std::string title = runtime.AppTitle();
    // Out of the way, so that the search cannot find our own application window.
    runtime.SetAppTitle(startup::kUnwantedInstance);

    WindowHandle found = 0;
    for (const char* windowClass : startup::kInstanceClasses) {
        found = windows.Find(windowClass, title);
        if (found) break;
    }
    if (!found) {
        runtime.SetAppTitle(title);
        return false;
    }

    // An instance still in its own start-up has no main window yet; it is running all the same.
    const WindowHandle main = windows.MainWindowOf(found);
    if (main) {
        if (windows.IsMinimized(main)) windows.Show(main, ShowCommand::Restore);
        windows.BringToFront(main);
    }
    return true;
}

}  // namespace chw
