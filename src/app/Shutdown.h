// The close: the questions every close request asks (close? save? close the player too?), and the end.
#pragma once

#include "alarm/Alarm.h"
#include "alarm/AlarmDisplay.h"
#include "alarm/AlarmState.h"
#include "platform/MainView.h"
#include "platform/Platform.h"
#include "settings/RegistryDB.h"
#include "winamp/Winamp_Access.h"

namespace chw {

class Shutdown {
public:
    Shutdown(Platform& platform, IMainView& view, Winamp_Access& winamp, RegistryDB& settings,
             const AlarmState& state, AlarmDisplay& display, Alarm& alarm)
        : p_(platform), view_(view), winamp_(winamp), registryDB_(settings), s_(state), show_(display),
          alarm_(alarm) {}

    // unloadMode: why the window closes; kWindowsEnding when Windows ends the session.
    static constexpr int kWindowsEnding = 2;
    void Form_QueryUnload(bool& cancel, int unloadMode);
    // Asks the window to close, as any close request does; false when the user kept it open.
    bool Unload();

private:
    Platform& p_;
    IMainView& view_;
    Winamp_Access& winamp_;
    RegistryDB& registryDB_;
    const AlarmState& s_;
    AlarmDisplay& show_;
    Alarm& alarm_;
};

}  // namespace chw
