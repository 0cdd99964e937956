#include "file_ops.h"

#include "setup/setup_state.h"
#include "setup/text.h"

// OpenFile keeps the path in OFSTRUCT.szPathName and cannot take a longer
// one; such paths go through the attribute and deletion calls instead, or a
// foreign file there would look absent and be overwritten unchecked.
static_assert(sizeof(OFSTRUCT) == 136, "OpenFile's record");

static int FitsOpenFile(const char *path)
{
    return lstrlenA(path) < OFS_MAXPATHNAME;
}

int FileExists(const char *path)
{
    if (FitsOpenFile(path)) {
        OFSTRUCT of;
        ZeroMemory(&of, sizeof of);
        of.cBytes = sizeof of;
        return OpenFile(path, &of, OF_EXIST) != HFILE_ERROR;
    }
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) return 0;
    CloseHandle(h);
    return 1;
}

void DeleteFileByName(const char *path)
{
    if (FitsOpenFile(path)) {
        OFSTRUCT of;
        ZeroMemory(&of, sizeof of);
        of.cBytes = sizeof of;
        OpenFile(path, &of, OF_DELETE);
    } else {
        DeleteFileA(path);
    }
}

int MakeScratchBeside(const char *destPath, char *tempPath)
{
    char folder[PATH_FIELD_SIZE];
    if (!CopyText(folder, sizeof folder, destPath)) return 0;
    char *cut = NULL;
    for (char *p = folder; *p; p = CharNextA(p))
        if (*p == '\\' || *p == '/') cut = p;
    if (cut == NULL) lstrcpyA(folder, ".");
    else if (cut == folder || cut[-1] == ':') cut[1] = '\0';
    else *cut = '\0';
    // GetTempFileNameA writes up to MAX_PATH characters; the 512-byte field
    // holds that, and a folder too long for it makes the call fail.
    return GetTempFileNameA(folder, "qdk", 0, tempPath) != 0;
}

int CommitScratch(const char *tempPath, const char *destPath)
{
    const DWORD attributes = GetFileAttributesA(destPath);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (MoveFileA(tempPath, destPath)) return 1;
        DeleteFileA(tempPath);
        return 0;
    }
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(tempPath);
        return 0;
    }
    char aside[PATH_FIELD_SIZE];
    if (!MakeScratchBeside(destPath, aside)) {
        DeleteFileA(tempPath);
        return 0;
    }
    // MoveFileA will not overwrite: the placeholder only reserved the name.
    DeleteFileA(aside);
    if (!MoveFileA(destPath, aside)) {
        DeleteFileA(tempPath);
        return 0;
    }
    if (!MoveFileA(tempPath, destPath)) {
        MoveFileA(aside, destPath);
        DeleteFileA(tempPath);
        return 0;
    }
    DeleteFileA(aside);
    return 1;
}
