#include "app/frmMain.h"

namespace chw {

void frmMain::Form_Load() {}

}  // namespace chw
