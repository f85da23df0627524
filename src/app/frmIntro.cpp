#include "app/frmIntro.h"

#include "app/frmMain.h"

namespace chw {

frmIntro::frmIntro(Platform& platform, IIntroView& view, IMainLoader& loader)
    : p_(platform), view_(view), loader_(loader), registryDB_(platform.registry) {}

void frmIntro::Form_Load() {}
void frmIntro::MyTimer_Timer() {}

}  // namespace chw
