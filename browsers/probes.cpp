#include "probes.h"

#include <string.h>
#include <windows.h>

#include "setup/setup_state.h"
#include "setup/text.h"

// Opens the keys one level at a time, each under the one before, with query
// access only, and reads one text value into a 512-byte buffer. Only string
// values count, and only when they end within the buffer.
static int ReadRegistryText(HKEY root, const char *const *keys, int keyCount,
                            const char *valueName, char *buffer)
{
    HKEY current = root;
    for (int i = 0; i < keyCount; ++i) {
        HKEY next;
        const LONG rc = RegOpenKeyExA(current, keys[i], 0, KEY_QUERY_VALUE, &next);
        if (current != root) RegCloseKey(current);
        if (rc != ERROR_SUCCESS) return 0;
        current = next;
    }
    char data[PATH_FIELD_SIZE];
    DWORD type = 0;
    DWORD size = sizeof data;
    const LONG rc = RegQueryValueExA(current, valueName, NULL, &type, (BYTE *)data, &size);
    if (current != root) RegCloseKey(current);
    if (rc != ERROR_SUCCESS) return 0;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return 0;
    if (size > sizeof data) return 0;
    if (memchr(data, 0, size) == NULL) {
        // A value stored without its terminator: text only if there is room.
        if (size >= sizeof data) return 0;
        data[size] = '\0';
    }
    return CopyText(buffer, PATH_FIELD_SIZE, data);
}

// The common end of every probe: hand the directory out and test it.
static short HandOut(char *out, const char *directory, int resultLength)
{
    if (!CopyText(out, PATH_FIELD_SIZE, directory)) return 0;
    if (ChangeDirectory(out) == -1) return 0;
    return (short)resultLength;
}

short FindNavigatorDir(char *out)
{
    static const char *const keys[] = {"Software", "Netscape", "Netscape Navigator", "Main"};
    char value[PATH_FIELD_SIZE];
    if (!ReadRegistryText(HKEY_CURRENT_USER, keys, 4, "Install Directory", value)) return 0;
    if (!AppendText(value, sizeof value, "\\Program")) return 0;
    return HandOut(out, value, lstrlenA(value));
}

short FindExplorerDir(char *out)
{
    static const char *const appKeys[] = {"InternetExplorer.Application", "CLSID"};
    char classId[PATH_FIELD_SIZE];
    char serverPath[PATH_FIELD_SIZE];
    if (!ReadRegistryText(HKEY_CLASSES_ROOT, appKeys, 2, "", classId)) return 0;
    const char *serverKeys[] = {"CLSID", classId, "LocalServer32"};
    if (!ReadRegistryText(HKEY_CLASSES_ROOT, serverKeys, 3, "", serverPath)) return 0;

    LowercaseAscii(serverPath);
    char *match = strstr(serverPath, "\\iexplore.exe");
    if (match == NULL || match == serverPath) return 0;
    *match = '\0';
    // A quoted server path starts with its quotation mark; an unquoted one
    // (also a valid registration) starts with the drive letter, kept.
    const char *directory = serverPath[0] == '"' ? serverPath + 1 : serverPath;
    return HandOut(out, directory, lstrlenA(serverPath));
}

short FindWebSurferDir(char *out)
{
    static const char *const keys[] = {"Software", "Netmanage", "TCPIP"};
    char value[PATH_FIELD_SIZE];
    if (!ReadRegistryText(HKEY_LOCAL_MACHINE, keys, 3, "Path", value)) return 0;
    return HandOut(out, value, lstrlenA(value));
}

int ChangeDirectory(const char *path)
{
    if (!SetCurrentDirectoryA(path)) return -1;
    char current[261];
    const DWORD len = GetCurrentDirectoryA(sizeof current, current);
    if (len == 0 || len >= sizeof current) return -1;
    if ((current[0] == '\\' || current[0] == '/') && current[1] == current[0]) return 0;
    // Record the drive's current directory ("=C:") as the runtime does, so
    // that a drive-relative path resolves the same way later.
    char name[4] = {'=', current[0], ':', '\0'};
    if (name[1] >= 'a' && name[1] <= 'z') name[1] = (char)(name[1] - 0x20);
    return SetEnvironmentVariableA(name, current) ? 0 : -1;
}

char *LowercaseAscii(char *text)
{
    for (char *p = text; *p; ++p)
        if (*p >= 'A' && *p <= 'Z') *p = (char)(*p + 0x20);
    return text;
}
