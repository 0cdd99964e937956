// The setup's whole flow: confirm, expand the plug-in library once, offer
// each browser found in turn, install where the user accepts, summarise.
#include <stdio.h>
#include <windows.h>

#include "browsers/browser_dialog.h"
#include "browsers/probes.h"
#include "install/plugin_install.h"
#include "payload/class_archive.h"
#include "payload/extract.h"
#include "resources/resource.h"
#include "setup/messages.h"
#include "setup/setup_state.h"
#include "setup/text.h"



struct SlotInfo {
    short (*probe)(char *out);
    const char *executable;
    WORD messageIds[3];
};

static const SlotInfo kSlots[3] = {
    {FindNavigatorDir, "netscape.exe", {IDS_FOUND_NAVIGATOR, IDS_SKIP_HINT, IDS_CLICK_INSTALL}},
    {FindExplorerDir, "iexplore.exe", {IDS_FOUND_EXPLORER, IDS_SKIP_HINT, IDS_CLICK_INSTALL}},
    {FindWebSurferDir, "websurf.exe", {IDS_FOUND_WEBSURFER, IDS_SKIP_HINT, IDS_CLICK_INSTALL}},
};

// "\plugins" is appended to destDir in place: a browser directory without
// room for it is refused before anything is appended.
static const int kPluginsSuffixLength = 8;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (MessageBoxA(NULL, "You are about to install the QuillDeck Plugin \n Continue?", "Setup", MB_YESNO) != IDYES)
        return 0;
    setupState.instance = instance;

    int foundAny = 0;
    int hadErrors = 0;
    int installedAny = 0;
    const char pluginFileName[FILE_NAME_FIELD_SIZE] = "NpQDK32.dll";
    char probeDir[PATH_FIELD_SIZE];
    char destPath[PATH_FIELD_SIZE];
    char expandedPayloadPath[PATH_FIELD_SIZE];

    const int extracted = ExtractPluginPayload(instance, expandedPayloadPath) != 0;
    int keepWalking = extracted;

    while (keepWalking) {
        short probeLength = 0;
        setupState.overwriteConfirmed = 0;

        if (setupState.browserSlot < SLOT_OTHER) {
            const SlotInfo &slot = kSlots[setupState.browserSlot];
            probeLength = slot.probe(probeDir);
            if (probeLength > 0) {
                CopyText(setupState.browserDir, PATH_FIELD_SIZE, probeDir);
                CopyText(setupState.browserExe, PATH_FIELD_SIZE, probeDir);
                if (!AppendText(setupState.browserExe, PATH_FIELD_SIZE, "\\") ||
                    !AppendText(setupState.browserExe, PATH_FIELD_SIZE, slot.executable))
                    setupState.browserExe[0] = '\0';  // no such executable can exist
                for (int i = 0; i < 3; ++i) setupState.messageIds[i] = slot.messageIds[i];
                foundAny = 1;
                setupState.otherBrowserMode = 0;
            }
        } else {
            if (!foundAny) ShowNotice("No compatible browser was found");
            keepWalking = 0;
            if (AskYesNo("Do you want to install the QuillDeck plugin for another browser? \n", MB_DEFBUTTON2)) {
                ZeroMemory(setupState.browserDir, sizeof setupState.browserDir);
                setupState.messageIds[0] = IDS_ENTER_LOCATION;
                setupState.messageIds[1] = IDS_THEN_INSTALL;
                setupState.messageIds[2] = NO_MESSAGE_LINE;
                keepWalking = 1;
                setupState.otherBrowserMode = 1;
            }
        }

        // Nothing to offer: a browser not found moves on, a No in the slot
        // Other has ended the walk.
        if (setupState.browserSlot < SLOT_OTHER && probeLength <= 0) {
            ++setupState.browserSlot;
            continue;
        }
        if (!keepWalking) continue;

        const INT_PTR choice = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_BROWSER), NULL, BrowserDlgProc, 0);
        if (choice == DLG_SKIP) {
            // Skip is disabled in the slot Other, which is never left.
            if (setupState.browserSlot < SLOT_OTHER) ++setupState.browserSlot;
            continue;
        }
        if (choice != DLG_INSTALL) {
            // Exit Setup, or a dialog that could not be made: offering the
            // same slot again would loop without a window in between.
            keepWalking = 0;
            continue;
        }

        if (lstrlenA(setupState.browserDir) > PATH_FIELD_SIZE - 1 - kPluginsSuffixLength) {
            ShowError("File name too long!");
            foundAny = 1;
            hadErrors = 1;
            continue;
        }
        CopyText(setupState.destDir, PATH_FIELD_SIZE, setupState.browserDir);
        if (!PreparePluginsDir(setupState.destDir, PATH_FIELD_SIZE)) continue;
        // The plugins folder is ready: the install goes on from here.
        foundAny = 1;

        const int dirLen = lstrlenA(setupState.destDir);
        if (dirLen >= PATH_FIELD_SIZE || dirLen + 1 + lstrlenA(pluginFileName) > PATH_FIELD_SIZE - 1) {
            ShowError("File name too long!");
            hadErrors = 1;
            continue;
        }
        CopyText(destPath, sizeof destPath, setupState.destDir);
        if (dirLen == 0 || setupState.destDir[dirLen - 1] != '\\') AppendText(destPath, sizeof destPath, "\\");
        AppendText(destPath, sizeof destPath, pluginFileName);

        if (!CheckExistingPlugin(expandedPayloadPath, destPath)) {
            hadErrors = 1;
            continue;
        }
        if (!CopyPluginFile(expandedPayloadPath, destPath)) {
            ShowError("Could not copy file to destination");
            hadErrors = 1;
            continue;
        }
        if (IsNavigator3OrLater(setupState.browserExe))
            InstallClassArchive(instance, setupState.overwriteConfirmed);
        installedAny = 1;
        if (setupState.browserSlot < SLOT_OTHER) ++setupState.browserSlot;
    }

    if (extracted) remove(expandedPayloadPath);

    if (installedAny && !hadErrors) ShowNotice("Setup completed successfully");
    else if (installedAny) ShowNotice("Setup Finished. Some errors occured.");
    else if (foundAny) ShowNotice("Setup could not be completed");
    return 0;
}
