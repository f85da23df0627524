#include "app/frmMain.h"

namespace chw {

void frmMain::mnuStartInSystemTray_Click() {}

}  // namespace chw
