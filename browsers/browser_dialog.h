// The browser-location dialog: confirm, correct or browse for a browser.
#ifndef QD_BROWSERS_BROWSER_DIALOG_H
#define QD_BROWSERS_BROWSER_DIALOG_H

#include <windows.h>

enum { DLG_SKIP = 10, DLG_INSTALL = 11, DLG_EXIT = 12 };

INT_PTR CALLBACK BrowserDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the open-file dialog; 1 when a program was picked and stored in
// browserDir (its folder) and browserExe (its full path), else 0.
int BrowseForBrowser(HWND owner);

#endif
