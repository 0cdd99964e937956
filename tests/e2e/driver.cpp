// End-to-end driver: prepares the registry and files a scenario describes,
// runs the real setup.exe, and walks its windows in order, checking each
// message box and dialog and answering it as the scenario says; then checks
// the exit code and the files left behind.
//
//   e2e_driver SETUP.EXE SCENARIO FIXTURE_DIR SHOT_DIR
//
// FIXTURE_DIR and SHOT_DIR are Unix paths (reached through drive Z:). Each
// window is saved as a BMP in SHOT_DIR before it is answered.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/window_reader.h"

namespace {

std::string setupExe, fixtureDir, payloadDir, shotDir;
int lineNo = 0;
std::string lineText;
PROCESS_INFORMATION child = {};
bool running = false;
std::vector<HANDLE> heldFiles;
int shotCount = 0;
HWND stayingDialog = NULL;  // a dialog expected to stay open after an action

[[noreturn]] void Fail(const std::string &why)
{
    std::printf("FAIL line %d: %s\n  %s\n", lineNo, lineText.c_str(), why.c_str());
    std::fflush(stdout);
    if (running) TerminateProcess(child.hProcess, 99);
    ExitProcess(1);
}

std::string Expand(const std::string &s)
{
    char buffer[4096];
    ExpandEnvironmentStringsA(s.c_str(), buffer, sizeof buffer);
    return buffer;
}

std::string Unescape(const std::string &s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        // "\n" with a blank or the end after it is a line break; "\nav" is a path.
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n' && (i + 2 == s.size() || s[i + 2] == ' ')) {
            out += '\n';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Splits a line into words; double quotes group, and are removed.
std::vector<std::string> Tokens(const std::string &line)
{
    std::vector<std::string> out;
    std::string cur;
    bool inQuote = false, any = false;
    for (char c : line) {
        if (c == '"') {
            inQuote = !inQuote;
            any = true;
        } else if (!inQuote && (c == ' ' || c == '\t')) {
            if (any) out.push_back(cur);
            cur.clear();
            any = false;
        } else {
            cur += c;
            any = true;
        }
    }
    if (any) out.push_back(cur);
    return out;
}

// ----- the world before the run -----

void MakeDirs(const std::string &path)
{
    for (size_t i = 3; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), NULL);
}

HKEY Root(const std::string &name)
{
    if (name == "HKCU") return HKEY_CURRENT_USER;
    if (name == "HKLM") return HKEY_LOCAL_MACHINE;
    if (name == "HKCR") return HKEY_CLASSES_ROOT;
    Fail("unknown registry root " + name);
}

void ClearWorld()
{
    ClearBrowserKeys();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults");
    RemoveTree("C:\\qd");
    DeleteFileA(Expand("%TEMP%\\slc1.tmp").c_str());
    DeleteFileA(Expand("%TEMP%\\slc2.tmp").c_str());
}

std::string SourceFile(const std::string &name)
{
    if (name == "payload") return payloadDir + "\\NpQDK32.dll";
    if (name == "archive") return payloadDir + "\\QDPlugin.zip";
    return fixtureDir + "\\" + name;
}

// ----- windows of the setup -----

struct Found {
    std::vector<HWND> windows;
};

BOOL CALLBACK Collect(HWND w, LPARAM param)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == child.dwProcessId && IsWindowVisible(w) && WindowClass(w) == "#32770")
        reinterpret_cast<Found *>(param)->windows.push_back(w);
    return TRUE;
}

// The window the user can act on: visible and enabled (a modal box
// disables its owner).
HWND ActiveWindow()
{
    Found f;
    EnumWindows(Collect, (LPARAM)&f);
    // A window still being made has no caption yet: it is not ready to read.
    for (HWND w : f.windows)
        if (IsWindowEnabled(w) && !WindowText(w).empty()) return w;
    return NULL;
}

HWND WaitForWindow(const std::string &what)
{
    for (int i = 0; i < 300; ++i) {
        HWND w = ActiveWindow();
        if (w != NULL) {
            Sleep(50);  // let it finish painting before it is read and saved
            return w;
        }
        if (WaitForSingleObject(child.hProcess, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(child.hProcess, &code);
            running = false;
            Fail("expected " + what + ", but setup ended with exit code " + std::to_string(code));
        }
        Sleep(50);
    }
    Fail("expected " + what + ", but no window came within 15 s");
}

void WaitGone(HWND w)
{
    for (int i = 0; i < 200; ++i) {
        if (!IsWindow(w) || !IsWindowVisible(w) || ActiveWindow() != w) return;
        Sleep(25);
    }
    Fail("the window did not close: " + WindowText(w));
}

void Shot(HWND w, const std::string &kind)
{
    char name[64];
    std::snprintf(name, sizeof name, "\\%02d-%s.bmp", ++shotCount, kind.c_str());
    SaveWindowBitmap(w, shotDir + name);
}

std::string Describe(HWND w)
{
    if (WindowText(w) == "QuillDeck Plugin Setup") return "dialog " + Describe(ReadDialog(w));
    return "message box " + Describe(ReadMessageBox(w));
}

// box CAPTION TEXT BUTTONS [icon] [owned] -> ANSWER
void ExpectBox(const std::vector<std::string> &t)
{
    if (t.size() < 6 || t[t.size() - 2] != "->") Fail("usage: box CAPTION TEXT BUTTONS [icon] [owned] -> ANSWER");
    MessageBoxView want;
    want.caption = t[1];
    want.text = Unescape(t[2]);
    want.buttons = t[3];
    for (size_t i = 4; i + 2 < t.size(); ++i) {
        if (t[i] == "icon") want.icon = true;
        else if (t[i] == "owned") want.owned = true;
        else Fail("unknown box flag " + t[i]);
    }
    HWND w = WaitForWindow("message box " + Describe(want));
    if (WindowText(w) == "QuillDeck Plugin Setup") Fail("expected message box " + Describe(want) + ", saw " + Describe(w));
    const MessageBoxView seen = ReadMessageBox(w);
    if (!(seen == want)) Fail("expected " + Describe(want) + "\n  saw      " + Describe(seen));
    Shot(w, "box");
    const int id = ButtonId(w, t.back());
    if (id == 0) Fail("no button " + t.back());
    ClickButton(w, id);
    WaitGone(w);
    std::printf("ok  %s -> %s\n", Describe(seen).c_str(), t.back().c_str());
}

void Lines(const std::string &set, DialogView &v)
{
    if (set == "nav") v.line1 = kFoundNavigator;
    else if (set == "ie") v.line1 = kFoundExplorer;
    else if (set == "ws") v.line1 = kFoundWebSurfer;
    else if (set != "other") Fail("unknown lines " + set);
    if (set == "other") {
        v.line1 = kEnterLocation;
        v.line2 = kThenInstall;
        v.line3 = "";
    } else {
        v.line2 = kSkipHint;
        v.line3 = kClickInstall;
    }
}

void SetField(HWND dialog, const std::string &text)
{
    SendMessageA(GetDlgItem(dialog, 1001), WM_SETTEXT, 0, (LPARAM)text.c_str());
}

// dialog lines=SET dir=TEXT skip=on|off -> ACTION...
void ExpectDialog(const std::vector<std::string> &t)
{
    DialogView want;
    want.title = "QuillDeck Plugin Setup";
    size_t i = 1;
    for (; i < t.size() && t[i] != "->"; ++i) {
        const size_t eq = t[i].find('=');
        const std::string key = t[i].substr(0, eq), value = eq == std::string::npos ? "" : t[i].substr(eq + 1);
        if (key == "lines") Lines(value, want);
        else if (key == "dir") want.dir = Expand(value);
        else if (key == "skip") want.skipEnabled = value == "on";
        else Fail("unknown dialog field " + key);
    }
    HWND w = stayingDialog ? stayingDialog : WaitForWindow("dialog " + Describe(want));
    stayingDialog = NULL;
    if (WindowText(w) != "QuillDeck Plugin Setup") Fail("expected dialog " + Describe(want) + ", saw " + Describe(w));
    const DialogView seen = ReadDialog(w);
    if (seen.title != want.title || seen.line1 != want.line1 || seen.line2 != want.line2 ||
        seen.line3 != want.line3 || seen.dir != want.dir || seen.skipEnabled != want.skipEnabled)
        Fail("expected dialog " + Describe(want) + "\n  saw             " + Describe(seen));
    Shot(w, "dialog");
    std::printf("ok  dialog %s", Describe(seen).c_str());

    bool ends = false;
    for (++i; i < t.size(); ++i) {
        const std::string &a = t[i];
        std::printf(" -> %s", a.c_str());
        if (a == "install") { ClickButton(w, 1003); ends = true; }
        else if (a == "skip") { ClickButton(w, 1008); ends = true; }
        else if (a == "exit") { ClickButton(w, 1006); ends = true; }
        else if (a == "browse") { ClickButton(w, 1002); ends = true; }
        else if (a == "type" && i + 1 < t.size()) {
            const std::string text = Expand(t[++i]);
            std::printf(" (%zu characters)", text.size());
            SetField(w, text);
        } else if (a == "enter") {
            PostMessageA(GetDlgItem(w, 1001), WM_KEYDOWN, VK_RETURN, 0);
            ends = true;
        } else if (a == "esc") {
            PostMessageA(GetDlgItem(w, 1001), WM_KEYDOWN, VK_ESCAPE, 0);
        } else if (a == "close") {
            PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else Fail("unknown dialog action " + a);
    }
    std::printf("\n");
    if (!ends) {
        Sleep(300);
        if (!IsWindow(w) || !IsWindowVisible(w)) Fail("the dialog closed");
        stayingDialog = w;
    } else {
        // Browse and an empty Install leave the dialog open under a new window.
        for (int k = 0; k < 200 && ActiveWindow() == w; ++k) Sleep(25);
    }
}

// filedialog -> pick PATH | cancel
void ExpectFileDialog(const std::vector<std::string> &t)
{
    HWND w = WaitForWindow("the open-file dialog");
    if (WindowText(w) != "Setup - Find your browser's executable") Fail("expected the open-file dialog, saw " + Describe(w));
    Shot(w, "open");
    if (t.size() >= 4 && t[2] == "pick") {
        PickInFileDialog(w, Expand(t[3]));
    } else {
        PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
    }
    WaitGone(w);
    std::printf("ok  open-file dialog -> %s\n", t.size() >= 4 ? t[3].c_str() : "cancel");
}

// Makes sure the desktop is up before setup's first window needs it.
void WarmUpDesktop()
{
    HWND probe = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    if (probe) DestroyWindow(probe);
}

void Run()
{
    WarmUpDesktop();
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string cmd = "\"" + setupExe + "\"";
    if (!CreateProcessA(setupExe.c_str(), &cmd[0], NULL, NULL, FALSE, 0, NULL, "C:\\", &si, &child))
        Fail("cannot start " + setupExe);
    running = true;
}

void ExpectExit(const std::vector<std::string> &t)
{
    for (int i = 0; i < 400; ++i) {
        if (WaitForSingleObject(child.hProcess, 50) == WAIT_OBJECT_0) break;
        if (HWND w = ActiveWindow()) {
            Sleep(50);
            Fail("expected the end, but another window came: " + Describe(w));
        }
    }
    if (WaitForSingleObject(child.hProcess, 0) != WAIT_OBJECT_0) Fail("setup did not end");
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    running = false;
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
    if (t.size() > 1 && std::to_string(code) != t[1]) Fail("exit code " + std::to_string(code));
    std::printf("ok  exit %lu\n", (unsigned long)code);
}

size_t CountMatches(const std::string &pattern)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    size_t n = 0;
    do {
        const std::string name = fd.cFileName;
        if (name != "." && name != "..") ++n;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return n;
}

std::string VersionOf(const std::string &path)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return "-";
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return "-";
    char *value = nullptr;
    UINT len = 0;
    if (!VerQueryValueA(block.data(), "\\StringFileInfo\\040904e4\\FileVersion", (void **)&value, &len)) return "-";
    return value;
}

void Step(const std::vector<std::string> &t)
{
    const std::string &c = t[0];
    auto need = [&](size_t n) {
        if (t.size() < n) Fail("too few words");
    };
    if (c == "reg") {
        need(5);
        HKEY h;
        if (RegCreateKeyExA(Root(t[1]), t[2].c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL) != ERROR_SUCCESS)
            Fail("cannot create key");
        // A ' stands for a quotation mark, which the scenario's words cannot hold.
        std::string value = Expand(t[4]);
        for (char &ch : value)
            if (ch == '\'') ch = '"';
        RegSetValueExA(h, t[3].empty() ? NULL : t[3].c_str(), 0, REG_SZ, (const BYTE *)value.c_str(),
                       (DWORD)value.size() + 1);
        RegCloseKey(h);
    } else if (c == "mkdir") {
        need(2);
        MakeDirs(Expand(t[1]));
    } else if (c == "file") {
        need(3);
        if (!CopyFileA(SourceFile(t[2]).c_str(), Expand(t[1]).c_str(), FALSE)) Fail("cannot copy " + t[2]);
    } else if (c == "text") {
        need(3);
        FILE *f = std::fopen(Expand(t[1]).c_str(), "wb");
        if (!f) Fail("cannot write");
        std::fwrite(t[2].data(), 1, t[2].size(), f);
        std::fclose(f);
    } else if (c == "readonly") {
        need(2);
        SetFileAttributesA(Expand(t[1]).c_str(), FILE_ATTRIBUTE_READONLY);
    } else if (c == "hold") {
        need(2);
        HANDLE h = CreateFileA(Expand(t[1]).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        if (h == INVALID_HANDLE_VALUE) Fail("cannot hold the file");
        heldFiles.push_back(h);
    } else if (c == "setenv") {
        need(3);
        SetEnvironmentVariableA(t[1].c_str(), Expand(t[2]).c_str());
    } else if (c == "run") {
        Run();
    } else if (c == "usesetup") {
        // Run a copy of setup.exe from another folder (a downloads folder).
        need(2);
        if (!CopyFileA(setupExe.c_str(), Expand(t[1]).c_str(), FALSE)) Fail("cannot copy setup.exe");
        setupExe = Expand(t[1]);
    } else if (c == "exec") {
        need(2);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        std::string cmd = "\"" + Expand(t[1]) + "\"";
        if (!CreateProcessA(NULL, &cmd[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) Fail("cannot run " + t[1]);
        WaitForSingleObject(pi.hProcess, 30000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    } else if (c == "fill") {
        // Fills the disk that holds PATH: blocks until a write fails, then
        // smaller ones, so that nothing more fits.
        need(2);
        FILE *f = std::fopen(Expand(t[1]).c_str(), "wb");
        if (!f) Fail("cannot create the filler");
        std::setvbuf(f, NULL, _IONBF, 0);
        static char block[4096];
        for (size_t size = sizeof block; size > 0; size /= 2)
            while (std::fwrite(block, 1, size, f) == size) {}
        std::fclose(f);
    } else if (c == "delete") {
        need(2);
        DeleteFileA(Expand(t[1]).c_str());
    } else if (c == "box") {
        ExpectBox(t);
    } else if (c == "dialog") {
        ExpectDialog(t);
    } else if (c == "filedialog") {
        ExpectFileDialog(t);
    } else if (c == "kill") {
        WaitForWindow("a window to interrupt");
        stayingDialog = NULL;
        TerminateProcess(child.hProcess, 1);
        WaitForSingleObject(child.hProcess, 5000);
        running = false;
        std::printf("ok  setup killed\n");
    } else if (c == "exit") {
        ExpectExit(t);
    } else if (c == "same") {
        need(3);
        bool ok = false;
        const std::string have = ReadFileBytes(Expand(t[1]), &ok);
        if (!ok) Fail("no file " + t[1]);
        const std::string want = t[2].rfind("text:", 0) == 0 ? t[2].substr(5) : ReadFileBytes(SourceFile(t[2]));
        if (have != want) Fail(t[1] + " differs from " + t[2] + " (" + std::to_string(have.size()) + " bytes)");
    } else if (c == "absent") {
        need(2);
        if (CountMatches(Expand(t[1])) != 0) Fail(t[1] + " is there");
    } else if (c == "count") {
        need(3);
        const size_t n = CountMatches(Expand(t[1]));
        if (std::to_string(n) != t[2]) Fail(t[1] + ": " + std::to_string(n) + " entries");
    } else if (c == "report") {
        need(3);
        const std::string dir = Expand(t[2]);
        const std::string lib = dir + "\\NpQDK32.dll";
        const bool has = GetFileAttributesA(lib.c_str()) != INVALID_FILE_ATTRIBUTES;
        const bool zip = GetFileAttributesA((dir + "\\QDPlugin.zip").c_str()) != INVALID_FILE_ATTRIBUTES;
        std::printf("| %-10s | %-44s | %-12s | %-13s |\n", t[1].c_str(), has ? lib.c_str() : "(not installed)",
                    has ? VersionOf(lib).c_str() : "-", zip ? "written" : "no");
    } else if (c == "say") {
        std::printf("%s\n", lineText.size() > 4 ? lineText.c_str() + 4 : "");
    } else {
        Fail("unknown step " + c);
    }
}

} // namespace

void RunScenario(const std::string &path)
{
    std::ifstream in(path);
    if (!in) Fail("cannot read " + path);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        lineNo = ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lineText = line;
        const std::vector<std::string> t = Tokens(line);
        if (t.empty() || t[0][0] == '#') continue;
        if (t[0] == "include" && t.size() > 1) {
            // Another scenario file in the same folder, e.g. shared preparation.
            RunScenario(path.substr(0, path.find_last_of("\\/") + 1) + t[1]);
            continue;
        }
        Step(t);
    }
}

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: e2e_driver SETUP.EXE SCENARIO FIXTURE_DIR SHOT_DIR\n");
        return 2;
    }
    setupExe = argv[1][0] == '/' ? UnixToWine(argv[1]) : argv[1];
    const std::string scenario = argv[2][0] == '/' ? UnixToWine(argv[2]) : argv[2];
    fixtureDir = argv[3][0] == '/' ? UnixToWine(argv[3]) : argv[3];
    payloadDir = fixtureDir + "\\..\\payload";
    shotDir = argv[4][0] == '/' ? UnixToWine(argv[4]) : argv[4];
    RemoveTree(shotDir);
    MakeDirs(shotDir);
    std::setvbuf(stdout, NULL, _IONBF, 0);

    ClearWorld();
    RunScenario(scenario);
    if (running) {
        lineText = "(end of scenario)";
        Fail("setup is still running");
    }
    for (HANDLE h : heldFiles) CloseHandle(h);
    std::printf("scenario passed\n");
    return 0;
}
