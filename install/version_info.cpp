#include "version_info.h"

#include <windows.h>

#include "setup/messages.h"
#include "setup/system_dll.h"
#include "setup/text.h"

typedef DWORD(WINAPI *SizeFn)(LPCSTR, LPDWORD);
typedef BOOL(WINAPI *InfoFn)(LPCSTR, DWORD, DWORD, LPVOID);
typedef BOOL(WINAPI *QueryFn)(LPCVOID, LPCSTR, LPVOID *, PUINT);

static HMODULE versionDll;

// Looks a string up; empty strings count as missing (some resource
// compilers store an empty text with a length of 1: its terminator).
static int QueryString(QueryFn query, void *block, const char *key, const char **value)
{
    void *found = NULL;
    UINT length = 0;
    if (!query(block, key, &found, &length) || found == NULL || length == 0) return 0;
    *value = (const char *)found;
    return (*value)[0] != '\0';
}

int GetVersionStrings(const char *file, char *productOut, size_t productSize,
                      char *versionOut, size_t versionSize)
{
    SizeFn getSize = (SizeFn)(void *)SystemDllFunction(&versionDll, "version.dll", "GetFileVersionInfoSizeA");
    InfoFn getInfo = (InfoFn)(void *)SystemDllFunction(&versionDll, "version.dll", "GetFileVersionInfoA");
    QueryFn query = (QueryFn)(void *)SystemDllFunction(&versionDll, "version.dll", "VerQueryValueA");
    if (!getSize || !getInfo || !query) return 0;

    DWORD handle = 0;
    const DWORD size = getSize(file, &handle);
    if (size == 0) return 0;
    void *block = HeapAlloc(GetProcessHeap(), 0, size);
    if (block == NULL) {
        ShowError("Memory allocation error");
        return 0;
    }
    int result = 0;
    if (getInfo(file, handle, size, block)) {
        WORD *translation = NULL;
        UINT length = 0;
        if (query(block, "\\VarFileInfo\\Translation", (void **)&translation, &length) &&
            translation != NULL && length >= 4) {
            char key[64];
            const char *value = NULL;
            wsprintfA(key, "\\StringFileInfo\\%04x%04x\\ProductName", translation[0], translation[1]);
            if (QueryString(query, block, key, &value)) {
                CopyTextCut(productOut, productSize, value);
                wsprintfA(key, "\\StringFileInfo\\%04x%04x\\FileVersion", translation[0], translation[1]);
                if (QueryString(query, block, key, &value)) {
                    CopyTextCut(versionOut, versionSize, value);
                    result = 1;
                }
            }
        }
    }
    HeapFree(GetProcessHeap(), 0, block);
    return result;
}
