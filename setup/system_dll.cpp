#include "system_dll.h"

#include "setup_state.h"
#include "text.h"

HMODULE LoadSystemDll(const char *fileName)
{
    char path[PATH_FIELD_SIZE];
    const UINT len = GetSystemDirectoryA(path, sizeof path);
    if (len == 0 || len >= sizeof path) return NULL;
    if (!AppendText(path, sizeof path, "\\") || !AppendText(path, sizeof path, fileName)) return NULL;
    return LoadLibraryA(path);
}

FARPROC SystemDllFunction(HMODULE *cache, const char *fileName, const char *function)
{
    if (*cache == NULL) *cache = LoadSystemDll(fileName);
    if (*cache == NULL) return NULL;
    return GetProcAddress(*cache, function);
}
