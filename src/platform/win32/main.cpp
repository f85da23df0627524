// Entry point of CHWLU.EXE. (Placeholder until the windows are built.)
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
