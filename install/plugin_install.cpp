#include "plugin_install.h"

#include <string.h>
#include <windows.h>

#include "browsers/probes.h"
#include "file_ops.h"
#include "setup/messages.h"
#include "setup/setup_state.h"
#include "setup/text.h"
#include "version_info.h"

int PreparePluginsDir(char *directory, size_t fieldSize)
{
    if (directory[0] == '\0') return 0;
    if (!AppendText(directory, fieldSize, "\\plugins")) return 0;
    if (ChangeDirectory(directory) == 0) return 1;
    if (CreateDirectoryA(directory, NULL)) return 1;
    ShowError("Can't create plugins directory");
    return 0;
}

static const char kRefusalFormat[] = "Can't copy %s !  \n File of the same name already exists!";

int CheckExistingPlugin(const char *srcPath, const char *destPath)
{
    if (!FileExists(destPath)) return 1;

    char srcProduct[VERSION_FIELD_SIZE] = "";
    char srcVersion[VERSION_FIELD_SIZE] = "";
    char destProduct[VERSION_FIELD_SIZE] = "";
    char destVersion[VERSION_FIELD_SIZE] = "";
    GetVersionStrings(srcPath, srcProduct, sizeof srcProduct, srcVersion, sizeof srcVersion);
    GetVersionStrings(destPath, destProduct, sizeof destProduct, destVersion, sizeof destVersion);

    if (strstr(destProduct, "QuillDeck") == NULL) {
        // Room for the whole path, however long, so the user sees which file.
        char message[sizeof kRefusalFormat + PATH_FIELD_SIZE];
        if (lstrlenA(destPath) < PATH_FIELD_SIZE) wsprintfA(message, kRefusalFormat, destPath);
        else CopyText(message, sizeof message, "Can't copy the plug-in: file of the same name already exists!");
        ShowError(message);
        return 0;
    }
    if (lstrcmpA(srcVersion, destVersion) < 0 &&
        !AskYesNo("A newer dll version already exists! \n Do you want to overwrite existing dll?",
                  MB_ICONQUESTION | MB_DEFBUTTON2))
        return 0;
    setupState.overwriteConfirmed = 1;
    return 1;
}

enum { COPY_BLOCK = 10000 };

int CopyPluginFile(const char *srcPath, const char *destPath)
{
    char *buffer = (char *)HeapAlloc(GetProcessHeap(), 0, COPY_BLOCK);
    if (buffer == NULL) return 0;
    HFILE source = _lopen(srcPath, OF_READ);
    if (source == HFILE_ERROR) {
        HeapFree(GetProcessHeap(), 0, buffer);
        return 0;
    }
    // The copy goes to a scratch file beside the destination; CommitScratch
    // puts it in place, or refuses (a read-only destination) and removes it.
    char scratch[PATH_FIELD_SIZE];
    HFILE target = HFILE_ERROR;
    if (MakeScratchBeside(destPath, scratch)) {
        target = _lcreat(scratch, 0);
        if (target == HFILE_ERROR) DeleteFileA(scratch);
    }
    if (target == HFILE_ERROR) {
        _lclose(source);
        HeapFree(GetProcessHeap(), 0, buffer);
        return 0;
    }

    int ok = 1;
    for (;;) {
        const UINT got = _lread(source, buffer, COPY_BLOCK);
        if (got == 0) break;
        if (got == (UINT)HFILE_ERROR || _lwrite(target, buffer, got) != got) {
            ok = 0;
            break;
        }
    }
    _lclose(target);
    _lclose(source);
    HeapFree(GetProcessHeap(), 0, buffer);
    if (!ok) {
        DeleteFileA(scratch);
        return 0;
    }
    return CommitScratch(scratch, destPath);
}
