#include "app/frmMain.h"

namespace chw {

void frmMain::Form_QueryUnload(bool& cancel, int) { cancel = false; p_.runtime.EndProgram(); }
void frmMain::mnuExitApp_Click() { Unload(); }
void frmMain::mnuExit_Click() { Unload(); }
bool frmMain::Unload() {
    bool cancel = false;
    Form_QueryUnload(cancel, 0);
    return !cancel;
}

}  // namespace chw
