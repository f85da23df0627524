#include "app/frmIntro.h"

namespace chw {

bool ActivatePreviousInstance(Platform&) { return false; }

}  // namespace chw
