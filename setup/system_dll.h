// version.dll and lz32.dll are not KnownDLLs: imported the ordinary way, a
// copy planted beside setup.exe (a downloads folder) would be loaded instead.
// They are loaded from the system folder by full path.
#ifndef QD_SETUP_SYSTEM_DLL_H
#define QD_SETUP_SYSTEM_DLL_H

#include <windows.h>

// The module named fileName from the system folder, or NULL.
HMODULE LoadSystemDll(const char *fileName);

// A function of a system DLL, loaded on first use and kept for the run.
FARPROC SystemDllFunction(HMODULE *cache, const char *fileName, const char *function);

#endif
