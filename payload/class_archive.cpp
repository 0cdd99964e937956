#include "class_archive.h"

#include "extract.h"
#include "install/file_ops.h"
#include "install/version_info.h"
#include "setup/messages.h"
#include "setup/setup_state.h"
#include "setup/text.h"

int IsNavigator3OrLater(const char *browserExe)
{
    char product[VERSION_FIELD_SIZE] = "";
    char version[VERSION_FIELD_SIZE] = "";
    if (!GetVersionStrings(browserExe, product, sizeof product, version, sizeof version)) return 0;
    const int len = lstrlenA(browserExe);
    if (len < 12 || lstrcmpiA(browserExe + len - 12, "netscape.exe") != 0) return 0;
    // Only the major version's first character counts, as a signed byte.
    if ((signed char)version[0] < '3') return 0;
    return 1;
}

short InstallClassArchive(HINSTANCE instance, LONG overwriteConfirmed)
{
    HGLOBAL loaded;
    const void *bytes;
    DWORD size;
    if (!LockPayload(instance, "qdclass", &loaded, &bytes, &size)) return 0;
    if (size == 0) {
        FreeResource(loaded);
        return 0;
    }

    char target[PATH_FIELD_SIZE];
    if (!CopyText(target, sizeof target, setupState.destDir) ||
        !AppendText(target, sizeof target, "\\QDPlugin.zip")) {
        ShowError("File name too long!");
        FreeResource(loaded);
        return 0;
    }
    if (FileExists(target) && !overwriteConfirmed &&
        !AskYesNo("File QDPlugin.zip already exists, Overwrite?", 0)) {
        FreeResource(loaded);
        return 1;
    }

    // Written beside the target and swapped in when complete, so that a
    // failed write never leaves a damaged archive in place of a good one.
    char scratch[PATH_FIELD_SIZE];
    if (!MakeScratchBeside(target, scratch)) {
        ShowError("Can't open file");
        FreeResource(loaded);
        return 0;
    }
    if (!WriteBufferToFile(bytes, (LONG)size, scratch)) {
        DeleteFileA(scratch);
        FreeResource(loaded);
        return 0;
    }
    FreeResource(loaded);
    if (!CommitScratch(scratch, target)) {
        ShowError("Can't open file");
        return 0;
    }
    return 1;
}
