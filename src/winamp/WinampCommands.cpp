#include "app/frmMain.h"

namespace chw {

void frmMain::mnuStartWinAmp_Click() {}
void frmMain::mnuCloseWinAmp_Click() {}
void frmMain::mnuConfigureWinAmp_Click() {}
void frmMain::mnuLoadWinAmpOnStart_Click() {}

}  // namespace chw
