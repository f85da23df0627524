#include "app/frmMain.h"

namespace chw {

void frmMain::SysTray_MouseDown(int) {}
void frmMain::mnuMinimizeToTray_Click() {}
void frmMain::mnuShowApp_Click() {}
void frmMain::mnuConfigure_Click() {}
void frmMain::mnuSetAlarm_Click() {}
void frmMain::mnuPopUpHelp_Click() {}

}  // namespace chw
