#include "winamp/Winamp_Access.h"

namespace chw {

std::intptr_t Winamp_Access::GetWinampStatus(const std::string&) { return 0; }
void Winamp_Access::CloseAllWinamp(const std::string&) {}
void Winamp_Access::SetWinampVolume(int, const std::string&) {}
void Winamp_Access::PressWinampPlay(const std::string&, bool) {}
void Winamp_Access::PostWinampCommand(int) {}
void Winamp_Access::SendWinampCommand(int) {}
void Winamp_Access::GreySystemMenuItem(WindowHandle, const std::string&, int) {}

}  // namespace chw
