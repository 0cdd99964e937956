// Reading what a user sees in a message box or in the browser-location
// dialog, from the window itself. Shared by the in-process responder of the
// Wine tests and by the end-to-end driver, which reads another process's
// windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct MessageBoxView {
    std::string caption;
    std::string text;
    std::string buttons;  // "Yes*,No": button texts without '&', '*' on the default
    bool icon = false;    // an icon is shown
    bool owned = false;   // has an owner window

    bool operator==(const MessageBoxView &o) const {
        return caption == o.caption && text == o.text && buttons == o.buttons && icon == o.icon &&
               owned == o.owned;
    }
};
std::string Describe(const MessageBoxView &box);

struct DialogView {
    std::string title;
    std::string line1, line2, line3;
    std::string dir;
    bool skipEnabled = false;
};
std::string Describe(const DialogView &dialog);

std::string WindowText(HWND window);
std::string WindowClass(HWND window);
MessageBoxView ReadMessageBox(HWND box);
DialogView ReadDialog(HWND dialog);

// The id of the button whose text (without '&') is label, or 0.
int ButtonId(HWND window, const std::string &label);

// Clicks a button as the mouse would: a command with notification code 0.
void ClickButton(HWND window, int id);

// Types a path into the open-file dialog's file name box and confirms it.
void PickInFileDialog(HWND fileDialog, const std::string &path);

// Saves the window's area of the screen as a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::string &path);

// Texts of the browser-location dialog's message lines.
extern const char *const kFoundNavigator;
extern const char *const kFoundExplorer;
extern const char *const kFoundWebSurfer;
extern const char *const kSkipHint;
extern const char *const kClickInstall;
extern const char *const kEnterLocation;
extern const char *const kThenInstall;
