// Where the shell's windows go on screen.
#pragma once
#include <windows.h>

// Centres window on its owner when the owner is visible, else on the work area of the nearest
// monitor.
void CenterOnOwner(HWND window);
