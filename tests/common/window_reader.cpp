#include "window_reader.h"

#include <cstdio>

const char *const kFoundNavigator = "Setup found Netscape Navigator installed on your system.";
const char *const kFoundExplorer = "Setup found Microsoft Internet Explorer installed on your system.";
const char *const kFoundWebSurfer = "Setup found Chameleon Websurfer installed on your system.";
const char *const kSkipHint = "To look for another browser click the Skip button.";
const char *const kClickInstall = "Click the Install button to install the QuillDeck plugin to the specified location. ";
const char *const kEnterLocation = "Please enter the location of your browser's executable file.";
const char *const kThenInstall = "Then, click the Install button to install the QuillDeck plugin to the specified location.";

std::string WindowText(HWND window)
{
    char buffer[2048] = "";
    // WM_GETTEXT is marshalled across processes; GetWindowText is not.
    SendMessageA(window, WM_GETTEXT, sizeof buffer, (LPARAM)buffer);
    return buffer;
}

std::string WindowClass(HWND window)
{
    char buffer[256] = "";
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

static std::string WithoutAmpersand(const std::string &s)
{
    std::string out;
    for (char c : s)
        if (c != '&') out += c;
    return out;
}

namespace {
struct ButtonList {
    std::vector<HWND> buttons;
};
BOOL CALLBACK CollectButtons(HWND child, LPARAM param)
{
    // The window's own visible style: while a box is being activated its
    // parent may not be shown yet.
    if (_stricmp(WindowClass(child).c_str(), "Button") == 0 && (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE))
        reinterpret_cast<ButtonList *>(param)->buttons.push_back(child);
    return TRUE;
}
} // namespace

MessageBoxView ReadMessageBox(HWND box)
{
    MessageBoxView view;
    view.caption = WindowText(box);
    view.text = WindowText(GetDlgItem(box, 0xFFFF));
    ButtonList list;
    EnumChildWindows(box, CollectButtons, (LPARAM)&list);
    // The default button: the one drawn as default, or the dialog's default id.
    int defId = 0;
    for (HWND b : list.buttons)
        if ((GetWindowLongA(b, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) defId = GetDlgCtrlID(b);
    if (defId == 0) {
        const LRESULT def = SendMessageA(box, DM_GETDEFID, 0, 0);
        if (HIWORD(def) == DC_HASDEFID) defId = LOWORD(def);
    }
    for (HWND b : list.buttons) {
        if (!view.buttons.empty()) view.buttons += ",";
        view.buttons += WithoutAmpersand(WindowText(b));
        if (GetDlgCtrlID(b) == defId) view.buttons += "*";
    }
    HWND icon = GetDlgItem(box, 1088);  // the message box's icon control
    view.icon = icon != NULL && (GetWindowLongA(icon, GWL_STYLE) & WS_VISIBLE) &&
                SendMessageA(icon, STM_GETICON, 0, 0) != 0;
    view.owned = GetWindow(box, GW_OWNER) != NULL;
    return view;
}

std::string Describe(const MessageBoxView &box)
{
    std::string text;
    for (char c : box.text) text += c == '\n' ? std::string("\\n") : std::string(1, c);
    return "[" + box.caption + "] \"" + text + "\" {" + box.buttons + "}" + (box.icon ? " icon" : "") +
           (box.owned ? " owned" : "");
}

DialogView ReadDialog(HWND dialog)
{
    DialogView view;
    view.title = WindowText(dialog);
    view.line1 = WindowText(GetDlgItem(dialog, 12));
    view.line2 = WindowText(GetDlgItem(dialog, 13));
    view.line3 = WindowText(GetDlgItem(dialog, 14));
    view.dir = WindowText(GetDlgItem(dialog, 1001));
    view.skipEnabled = IsWindowEnabled(GetDlgItem(dialog, 1008)) != FALSE;
    return view;
}

std::string Describe(const DialogView &d)
{
    return "[" + d.title + "] line1=\"" + d.line1 + "\" line2=\"" + d.line2 + "\" line3=\"" + d.line3 +
           "\" dir=\"" + d.dir + "\" skip=" + (d.skipEnabled ? "on" : "off");
}

int ButtonId(HWND window, const std::string &label)
{
    ButtonList list;
    EnumChildWindows(window, CollectButtons, (LPARAM)&list);
    for (HWND b : list.buttons)
        if (WithoutAmpersand(WindowText(b)) == label) return GetDlgCtrlID(b);
    return 0;
}

void ClickButton(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(window, id));
}

void PickInFileDialog(HWND fileDialog, const std::string &path)
{
    HWND name = GetDlgItem(fileDialog, 0x47C);  // cmb13: the explorer-style file name box
    if (!name) name = GetDlgItem(fileDialog, 0x480);  // edt1: the old style's
    // WM_SETTEXT is marshalled when the dialog belongs to another process.
    SendMessageA(name, WM_SETTEXT, 0, (LPARAM)path.c_str());
    ClickButton(fileDialog, IDOK);
}

bool SaveWindowBitmap(HWND window, const std::string &path)
{
    RECT r;
    if (!GetWindowRect(window, &r)) return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = ((DWORD)w * 3 + 3) & ~3u;
    const DWORD size = stride * (DWORD)h;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + size;
    bool ok = false;
    if (FILE *f = std::fopen(path.c_str(), "wb")) {
        ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
             std::fwrite(bits, 1, size, f) == size;
        ok = std::fclose(f) == 0 && ok;
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return ok;
}
