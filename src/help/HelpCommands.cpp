#include "app/frmMain.h"

namespace chw {

void frmMain::mnuContents_Click() {}
void frmMain::mnuAbout_Click() {}
void frmMain::mnuUpdate_Click() {}

}  // namespace chw
