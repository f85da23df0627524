#include "app/frmMain.h"

namespace chw {

void frmMain::MyTimer_Timer() {}

}  // namespace chw
