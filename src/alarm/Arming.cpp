#include "app/frmMain.h"

namespace chw {

void frmMain::cmdSet_Click() {}
void frmMain::cmdReset_Click() {}

}  // namespace chw
