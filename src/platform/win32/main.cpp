// Entry point of CHWLU.EXE: the application window, the services, the start-up window and the loop.
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "AppWindow.h"
#include "IntroWindow.h"
#include "MainWindow.h"
#include "UiLoop.h"
#include "Win32Services.h"
#include "app/FormTexts.h"
#include "app/frmIntro.h"
#include "app/frmMain.h"
#include "winamp/Winamp_Access.h"

namespace {

using namespace chw;
using namespace chw::win32;

// Creates the main window (hidden) with its logic and runs its load.
class MainLoader : public IMainLoader {
public:
    MainLoader(HINSTANCE instance, Platform& platform, UiLoop& loop, AppWindow& app, Win32Runtime& runtime)
        : instance_(instance), platform_(platform), loop_(loop), app_(app), runtime_(runtime) {}

    void PrepareMainWindow() override {
        if (!window_) window_ = std::make_unique<MainWindow>(instance_, loop_);
    }

    frmMain& LoadMainWindow() override {
        if (logic_) return *logic_;
        PrepareMainWindow();
        winamp_ = std::make_unique<Winamp_Access>(platform_);
        logic_ = std::make_unique<frmMain>(platform_, *window_, *winamp_);
        window_->Attach(logic_.get());
        loop_.SetMainWindow(window_->hwnd(), window_->Accelerators());
        app_.SetMainWindow(window_->hwnd());
        MainWindow* window = window_.get();
        runtime_.SetBeforeExit([window] { window->Tray().Remove(); });
        logic_->Form_Load();
        return *logic_;
    }

    bool Loaded() const { return window_ && window_->hwnd(); }

private:
    HINSTANCE instance_;
    Platform& platform_;
    UiLoop& loop_;
    AppWindow& app_;
    Win32Runtime& runtime_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<Winamp_Access> winamp_;
    std::unique_ptr<frmMain> logic_;
};

int Run(HINSTANCE instance) {
    // Screen readers reach the controls' accessible objects through COM, in this thread's apartment.
    ComScope com;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                              ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);

    // First of all: the window by which another start of the program finds this one.
    AppWindow app(instance, Wide(texts::kAppTitle).c_str());

    UiLoop loop;
    Win32WindowSystem windows;
    Win32Registry registry;
    Win32FileSystem files;
    Win32ProcessLauncher processes;
    Win32MessageBoxes boxes(loop);
    Win32Runtime runtime(loop, app.hwnd());
    Win32Clock clock;
    Win32AlarmSound sound;
    Win32Power power;
    Platform platform{windows, registry, files, processes, boxes, runtime, clock, sound, power};

    IntroWindow intro(instance);
    MainLoader loader(instance, platform, loop, app, runtime);
    frmIntro introLogic(platform, intro, loader);
    intro.SetTickHandler([&introLogic] { introLogic.MyTimer_Timer(); });

    Guarded([&] { introLogic.Form_Load(); });
    // The start-up may end without a main window (it ended the program, or there is nothing to run).
    if (!loader.Loaded()) return 0;
    return loop.Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int code = 0;
    Guarded([&] { code = Run(instance); });
    return code;
}
