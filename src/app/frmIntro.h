// The start-up window's logic: the whole start-up, run from its load.
#pragma once

#include "platform/IntroView.h"
#include "platform/MainView.h"
#include "platform/Platform.h"
#include "settings/RegistryDB.h"

namespace chw {

class frmMain;

// Creates the main window without showing it and runs its load.
class IMainLoader {
public:
    virtual ~IMainLoader() = default;
    // Builds the window and its controls, hidden, with no logic behind them yet.
    virtual void PrepareMainWindow() = 0;
    virtual frmMain& LoadMainWindow() = 0;
};

class frmIntro {
public:
    frmIntro(Platform& platform, IIntroView& view, IMainLoader& loader);

    void Form_Load();      // app/frmIntro.cpp
    void MyTimer_Timer();  // app/frmIntro.cpp

private:
    // The start-up ends here, and with it the program.
    void Leave();
    bool WriteFirstStartDefaults();
    void FillProgressBar();
    void HandOver(frmMain& main);

    Platform& p_;
    IIntroView& view_;
    IMainLoader& loader_;
    RegistryDB registryDB_;
};

// True when another instance runs (and was just brought to the front). app/ActivatePreviousInstance.cpp
bool ActivatePreviousInstance(Platform& platform);

}  // namespace chw
