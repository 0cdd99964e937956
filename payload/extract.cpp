#include "extract.h"

#include <stdio.h>
#include <lzexpand.h>

#include "payload/szdd.h"
#include "setup/messages.h"
#include "setup/setup_state.h"
#include "setup/system_dll.h"
#include "setup/text.h"
#include "install/file_ops.h"

#ifdef QD_OWN_EXPANDER
static int selectedExpander = EXPANDER_BUILT_IN;
#else
static int selectedExpander = EXPANDER_SYSTEM;
#endif

void SelectExpander(int expander)
{
    selectedExpander = expander;
}

// Names a temporary file from the folder, the prefix "slc" and a fixed
// number. Some systems refuse to form the name for a folder that does not
// exist; the name is then formed here the same way, so that creating the
// file is what fails and says so.
static void TempName(const char *folder, UINT number, char *out)
{
    if (GetTempFileNameA(folder, "slc", number, out) != 0) return;
    char name[16];
    wsprintfA(name, "slc%x.tmp", number);
    if (!CopyText(out, PATH_FIELD_SIZE, folder) || !AppendText(out, PATH_FIELD_SIZE, name))
        out[0] = '\0';
}

int LockPayload(HINSTANCE instance, const char *name, HGLOBAL *loaded, const void **bytes, DWORD *size)
{
    HRSRC found = FindResourceA(instance, name, "BINARY");
    *loaded = found != NULL ? LoadResource(instance, found) : NULL;
    if (*loaded == NULL) {
        ShowError("Can't get resource");
        return 0;
    }
    *bytes = LockResource(*loaded);
    if (*bytes == NULL) {
        // Not released here: a resource that cannot be locked is left alone.
        ShowError("Can't lock resource");
        return 0;
    }
    *size = SizeofResource(instance, found);
    return 1;
}

short ExtractPluginPayload(HINSTANCE instance, char *out)
{
    char tempDir[PATH_FIELD_SIZE];
    char tempFile1[PATH_FIELD_SIZE];
    char tempFile2[PATH_FIELD_SIZE];

    const DWORD dirLen = GetTempPathA(sizeof tempDir, tempDir);
    // A folder name that does not fit the buffer is as unusable as none.
    if (dirLen == 0 || dirLen >= sizeof tempDir) {
        ShowError("Can't locate temp directory");
        return 0;
    }
    TempName(tempDir, 1, tempFile1);

    HGLOBAL loaded;
    const void *bytes;
    DWORD size;
    if (!LockPayload(instance, "myprog", &loaded, &bytes, &size)) return 0;
    if (size == 0) {
        FreeResource(loaded);
        remove(tempFile1);
        return 0;
    }
    if (!WriteBufferToFile(bytes, (LONG)size, tempFile1)) {
        FreeResource(loaded);
        remove(tempFile1);
        return 0;
    }
    FreeResource(loaded);

    TempName(tempDir, 2, tempFile2);
    if (ExpandCompressedFile(tempFile1, tempFile2) == 0) {
        remove(tempFile1);
        return 0;
    }
    DeleteFileByName(tempFile1);
    CopyText(out, PATH_FIELD_SIZE, tempFile2);
    return 1;
}

int WriteBufferToFile(const void *bytes, LONG count, const char *path)
{
    HFILE file = _lcreat(path, 0);
    if (file == HFILE_ERROR) {
        ShowError("Can't open file");
        return 0;
    }
    // A short write (a full disk) is as much an error as a refused one.
    const LONG written = _hwrite(file, (LPCCH)bytes, count);
    if (written == HFILE_ERROR || written != count) {
        ShowError("Can't write to file");
        _lclose(file);
        return 0;
    }
    _lclose(file);
    return 1;
}

// Reads the SZDD header: the service itself copies a file that is not SZDD
// unchanged and calls that success, so signature and mode are checked first.
// 1 with the expanded length, 0 when the file is not SZDD mode A.
static int ReadSzddHeader(const char *source, uint32_t *expectedLength, int *opened)
{
    unsigned char header[SZDD_HEADER_SIZE];
    HFILE file = _lopen(source, OF_READ);
    *opened = file != HFILE_ERROR;
    if (!*opened) return 0;
    const UINT got = _lread(file, header, sizeof header);
    _lclose(file);
    if (got != sizeof header) return 0;
    return SzddReadHeader(header, sizeof header, expectedLength) == SZDD_OK;
}

static LONG ExpandBuiltIn(const char *source, const char *destination, uint32_t expected)
{
    HFILE in = _lopen(source, OF_READ);
    if (in == HFILE_ERROR) {
        ShowError("Can't open compressed source file");
        return 0;
    }
    const LONG inSize = _llseek(in, 0, FILE_END);
    _llseek(in, 0, FILE_BEGIN);
    HFILE out = _lcreat(destination, 0);
    if (out == HFILE_ERROR) {
        ShowError("Can't create destination file");
        _lclose(in);
        return 0;
    }
    LONG result = 0;
    unsigned char *packed = (unsigned char *)HeapAlloc(GetProcessHeap(), 0, inSize > 0 ? inSize : 1);
    unsigned char *plain = (unsigned char *)HeapAlloc(GetProcessHeap(), 0, expected > 0 ? expected : 1);
    if (inSize > 0 && packed && plain && _hread(in, packed, inSize) == inSize) {
        size_t produced = 0;
        if (SzddExpand(packed, (size_t)inSize, plain, expected, &produced) == SZDD_OK && produced > 0 &&
            _hwrite(out, (LPCCH)plain, (LONG)produced) == (LONG)produced)
            result = (LONG)produced;
    }
    if (packed) HeapFree(GetProcessHeap(), 0, packed);
    if (plain) HeapFree(GetProcessHeap(), 0, plain);
    _lclose(out);
    _lclose(in);
    if (result <= 0) {
        ShowError("Error decompressing file");
        remove(destination);
        return 0;
    }
    return result;
}

typedef INT(WINAPI *LzOpenFn)(LPSTR, LPOFSTRUCT, WORD);
typedef LONG(WINAPI *LzCopyFn)(INT, INT);
typedef void(WINAPI *LzCloseFn)(INT);

LONG ExpandCompressedFile(const char *source, const char *destination)
{
    uint32_t expected = 0;
    int opened = 0;
    const int isSzdd = ReadSzddHeader(source, &expected, &opened);
    if (!opened) {
        ShowError("Can't open compressed source file");
        return 0;
    }
    if (!isSzdd || expected == 0 || expected > 0x7FFFFFFF) {
        ShowError("Error decompressing file");
        return 0;
    }

    static HMODULE lz32;
    LzOpenFn lzOpen = (LzOpenFn)(void *)SystemDllFunction(&lz32, "lz32.dll", "LZOpenFileA");
    LzCopyFn lzCopy = (LzCopyFn)(void *)SystemDllFunction(&lz32, "lz32.dll", "LZCopy");
    LzCloseFn lzClose = (LzCloseFn)(void *)SystemDllFunction(&lz32, "lz32.dll", "LZClose");
    if (selectedExpander == EXPANDER_BUILT_IN || !lzOpen || !lzCopy || !lzClose)
        return ExpandBuiltIn(source, destination, expected);

    char sourceName[PATH_FIELD_SIZE];
    char destinationName[PATH_FIELD_SIZE];
    CopyTextCut(sourceName, sizeof sourceName, source);
    CopyTextCut(destinationName, sizeof destinationName, destination);
    OFSTRUCT sourceOf, destinationOf;
    ZeroMemory(&sourceOf, sizeof sourceOf);
    ZeroMemory(&destinationOf, sizeof destinationOf);

    const INT in = lzOpen(sourceName, &sourceOf, OF_READ);
    if (in < 0) {
        ShowError("Can't open compressed source file");
        return 0;
    }
    const INT out = lzOpen(destinationName, &destinationOf, OF_CREATE);
    if (out < 0) {
        ShowError("Can't create destination file");
        lzClose(in);
        return 0;
    }
    const LONG count = lzCopy(in, out);
    lzClose(out);
    lzClose(in);
    // The service answers a count even when the data ends early: anything
    // but the header's length would install a damaged library.
    if (count <= 0 || (uint32_t)count != expected) {
        ShowError("Error decompressing file");
        remove(destination);
        return 0;
    }
    return count;
}
