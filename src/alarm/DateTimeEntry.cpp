#include "app/frmMain.h"

namespace chw {

void frmMain::MonthView_DateClick(const Date&) {}
void frmMain::txtTime_Click() {}
void frmMain::txtTime_Validate(bool& cancel) { cancel = false; }
void frmMain::CalendarToToday() {}

}  // namespace chw
