#include "app/frmMain.h"

namespace chw {

frmMain::frmMain(Platform& platform, IMainView& view, Winamp_Access& winamp)
    : p_(platform), view_(view), winamp_(winamp), registryDB_(platform.registry),
      alarm_(platform, view, winamp, registryDB_, s_, show_,
             Alarm::Host{[this] { return Unload(); }, [this] { mnuStartInSystemTray_Click(); },
                         [this] { mnuLoadWinAmpOnStart_Click(); }}),
      shutdown_(platform, view, winamp, registryDB_, s_, show_, alarm_),
      player_(platform, view, winamp, registryDB_, [this] { return Unload(); }),
      tray_(platform, view, registryDB_, s_, show_),
      startOptions_(platform, view, registryDB_, show_, [this] { return Unload(); }),
      help_(platform, view, show_) {}

}  // namespace chw
