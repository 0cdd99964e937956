#include "browser_dialog.h"

#include <stddef.h>

#include <cderr.h>
#include <commdlg.h>

#include "probes.h"
#include "resources/resource.h"
#include "setup/messages.h"
#include "setup/setup_state.h"
#include "setup/text.h"

static void SetMessageLine(HWND dialog, int control, WORD id)
{
    char text[256] = "";
    if (id != NO_MESSAGE_LINE) LoadStringA(setupState.instance, id, text, sizeof text);
    SetDlgItemTextA(dialog, control, text);
}

INT_PTR CALLBACK BrowserDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        SetDlgItemTextA(dialog, IDC_BROWSER_DIR, LowercaseAscii(setupState.browserDir));
        EnableWindow(GetDlgItem(dialog, IDC_SKIP), setupState.otherBrowserMode == 0);
        SetMessageLine(dialog, IDC_LINE1, setupState.messageIds[0]);
        SetMessageLine(dialog, IDC_LINE2, setupState.messageIds[1]);
        SetMessageLine(dialog, IDC_LINE3, setupState.messageIds[2]);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;

    // The whole parameter is compared: only a click, Enter on the default
    // button or a mnemonic (notification code 0) counts.
    switch (wParam) {
    case IDC_BROWSE:
        if (BrowseForBrowser(dialog) == 1)
            SetDlgItemTextA(dialog, IDC_BROWSER_DIR, LowercaseAscii(setupState.browserDir));
        return FALSE;
    case IDC_INSTALL:
        GetDlgItemTextA(dialog, IDC_BROWSER_DIR, setupState.browserDir, PATH_FIELD_SIZE);
        if (lstrlenA(setupState.browserDir) > 0) {
            EndDialog(dialog, DLG_INSTALL);
            return TRUE;
        }
        MessageBoxA(dialog, "Invalid browser location", "Error", MB_OK);
        return FALSE;
    case IDC_EXIT:
        EndDialog(dialog, DLG_EXIT);
        return TRUE;
    case IDC_SKIP:
        EndDialog(dialog, DLG_SKIP);
        return TRUE;
    }
    // Esc and the close box (IDCANCEL) end nothing: only the three buttons do.
    return FALSE;
}

// The record as Windows NT 4 knows it ends with lpTemplateName: 76 bytes in
// the 32-bit build.
static_assert(sizeof(void *) != 4 || offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "NT 4 OPENFILENAME size");

int BrowseForBrowser(HWND owner)
{
    char filter[30];
    char file[128];
    char fileTitle[40];
    ZeroMemory(filter, sizeof filter);
    ZeroMemory(file, sizeof file);
    ZeroMemory(fileTitle, sizeof fileTitle);
    // "Programs", "*.exe", each ended by a zero, the list by another zero.
    lstrcpyA(filter, "Programs");
    lstrcpyA(filter + sizeof "Programs", "*.exe");

    OPENFILENAMEA ofn;
    ZeroMemory(&ofn, sizeof ofn);
    // The Windows NT 4 form of the record, which every Windows accepts.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrFileTitle = fileTitle;
    ofn.nMaxFileTitle = sizeof fileTitle;
    ofn.lpstrTitle = "Setup - Find your browser's executable";
    ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;

    if (GetOpenFileNameA(&ofn)) {
        if (ofn.nFileOffset == 0 || !CopyText(setupState.browserDir, PATH_FIELD_SIZE, file)) return 0;
        CopyText(setupState.browserExe, PATH_FIELD_SIZE, setupState.browserDir);
        setupState.browserDir[ofn.nFileOffset - 1] = '\0';
        return 1;
    }
    if (CommDlgExtendedError() == CDERR_INITIALIZATION) ShowError("Initialization error");
    return 0;
}
