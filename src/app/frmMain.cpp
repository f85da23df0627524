#include "app/frmMain.h"

namespace chw {

frmMain::frmMain(Platform& platform, IMainView& view, Winamp_Access& winamp)
    : p_(platform), view_(view), winamp_(winamp), registryDB_(platform.registry) {}

}  // namespace chw
