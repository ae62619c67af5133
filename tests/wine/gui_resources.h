#pragma once
// How many GDI and USER objects this process holds, on Windows and on Wine.
#include <windows.h>

DWORD GdiObjects();
DWORD UserObjects();
