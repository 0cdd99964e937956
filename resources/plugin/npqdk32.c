/* The QuillDeck browser plug-in library as the setup installs it: a
 * Netscape-style plug-in DLL. It registers its MIME type through its version
 * information and exports the three entry points browsers look for. It does
 * nothing: NP_GetEntryPoints declines, so a browser never calls into it. */
#include <windows.h>

#define NPERR_NO_ERROR 0
#define NPERR_GENERIC_ERROR 1

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

__declspec(dllexport) short WINAPI NP_GetEntryPoints(void *pluginFuncs)
{
    (void)pluginFuncs;
    return NPERR_GENERIC_ERROR;
}

__declspec(dllexport) short WINAPI NP_Initialize(void *browserFuncs)
{
    (void)browserFuncs;
    return NPERR_NO_ERROR;
}

__declspec(dllexport) short WINAPI NP_Shutdown(void)
{
    return NPERR_NO_ERROR;
}
