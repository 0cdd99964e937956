/* A planted lz32.dll: a DLL of that name put beside a program in a
 * downloads folder. It announces itself by writing C:\qd\planted.txt when
 * it is loaded, and does nothing else. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        HANDLE f = CreateFileA("C:\\qd\\planted.txt", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD written;
            WriteFile(f, "loaded", 6, &written, NULL);
            CloseHandle(f);
        }
    }
    return TRUE;
}

INT WINAPI LZOpenFileA(LPSTR name, LPOFSTRUCT of, WORD mode) { (void)name; (void)of; (void)mode; return -1; }
LONG WINAPI LZCopy(INT from, INT to) { (void)from; (void)to; return -1; }
void WINAPI LZClose(INT handle) { (void)handle; }
