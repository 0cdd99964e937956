// The browser-location dialog, run modally on the real template.
#include "browsers/browser_dialog.h"
#include "browsers/probes.h"
#include "helpers.h"
#include "resources/resource.h"
#include "responder.h"
#include "setup/setup_state.h"

namespace {

void Prepare(const char *dir, WORD a, WORD b, WORD c, LONG otherMode, const char *exe = "C:\\Nav\\netscape.exe")
{
    ZeroMemory(&setupState, sizeof setupState);
    setupState.instance = GetModuleHandleA(NULL);
    lstrcpyA(setupState.browserDir, dir);
    lstrcpyA(setupState.browserExe, exe);
    setupState.messageIds[0] = a;
    setupState.messageIds[1] = b;
    setupState.messageIds[2] = c;
    setupState.otherBrowserMode = otherMode;
}

INT_PTR RunDialog()
{
    return DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_BROWSER), NULL, BrowserDlgProc, 0);
}

void SetField(HWND dialog, const std::string &text) { SetDlgItemTextA(dialog, IDC_BROWSER_DIR, text.c_str()); }
auto Click(int id) { return [id](HWND d) { ClickButton(d, id); }; }

struct OfferCase {
    const char *what;
    const char *dir;
    WORD ids[3];
    LONG otherMode;
    int click;
    INT_PTR result;
    DialogView shown;
};

TEST(Dialog, ShowsItsLinesDirectoryAndSkipState)
{
    const OfferCase cases[] = {
        {"a found browser: its lines, the directory in small letters, Skip on",
         "C:\\Program Files\\NAV", {IDS_FOUND_NAVIGATOR, IDS_SKIP_HINT, IDS_CLICK_INSTALL}, 0, IDC_SKIP, DLG_SKIP,
         {"QuillDeck Plugin Setup", kFoundNavigator, kSkipHint, kClickInstall, "c:\\program files\\nav", true}},
        // Skip is disabled: its command never arrives from the user, so Exit ends.
        {"another browser: two lines, an empty third, Skip off", "", {IDS_ENTER_LOCATION, IDS_THEN_INSTALL, NO_MESSAGE_LINE},
         1, IDC_EXIT, DLG_EXIT, {"QuillDeck Plugin Setup", kEnterLocation, kThenInstall, "", "", false}},
    };
    for (const OfferCase &c : cases) {
        SCOPED_TRACE(c.what);
        Prepare(c.dir, c.ids[0], c.ids[1], c.ids[2], c.otherMode);
        Responder r;
        r.dialogActions = {Click(c.click)};
        EXPECT_EQ(RunDialog(), c.result);
        ASSERT_EQ(r.dialogs.size(), 1u);
        EXPECT_EQ(Describe(r.dialogs[0]), Describe(c.shown));
        EXPECT_EQ(std::string(setupState.browserDir), c.shown.dir);  // lowercased in place
        EXPECT_TRUE(r.boxes.empty());
    }
}

TEST(Dialog, InstallTakesTheFieldAsTyped)
{
    struct Case {
        const char *what;
        std::string typed, stored;
    } cases[] = {
        {"a directory", "d:\\browsers\\mine", "d:\\browsers\\mine"},
        {"blanks only", "   ", "   "},
        {"600 characters, cut to 511", std::string(600, 'x'), std::string(511, 'x')},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Prepare("c:\\nav", IDS_FOUND_NAVIGATOR, IDS_SKIP_HINT, IDS_CLICK_INSTALL, 0);
        Responder r;
        const std::string typed = c.typed;
        r.dialogActions = {[typed](HWND d) {
            SetField(d, typed);
            ClickButton(d, IDC_INSTALL);
        }};
        EXPECT_EQ(RunDialog(), DLG_INSTALL);
        EXPECT_EQ(std::string(setupState.browserDir), c.stored);
        EXPECT_STREQ(setupState.browserExe, "C:\\Nav\\netscape.exe");
    }
}

TEST(Dialog, InstallWithAnEmptyFieldSaysSoAndStays)
{
    Prepare("c:\\nav", IDS_FOUND_NAVIGATOR, IDS_SKIP_HINT, IDS_CLICK_INSTALL, 0);
    Responder r({"OK"});
    r.dialogActions = {[](HWND d) {
                           SetField(d, "");
                           ClickButton(d, IDC_INSTALL);
                       },
                       Click(IDC_SKIP)};
    EXPECT_EQ(RunDialog(), DLG_SKIP);
    MessageBoxView owned = ErrorBox("Invalid browser location");
    owned.owned = true;
    EXPECT_EQ(r.boxes, std::vector<MessageBoxView>{owned});
    EXPECT_STREQ(setupState.browserDir, "");
}

TEST(Dialog, EscCloseBoxAndNotificationsEndNothing)
{
    Prepare("c:\\nav", IDS_FOUND_NAVIGATOR, IDS_SKIP_HINT, IDS_CLICK_INSTALL, 0);
    Responder r;
    r.dialogActions = {[](HWND d) {
        HWND edit = GetDlgItem(d, IDC_BROWSER_DIR);
        PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        // A command with a notification code other than 0 is no click.
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_INSTALL, EN_CHANGE), 0);
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_EXIT, 1), 0);
        ClickButton(d, IDC_SKIP);
    }};
    EXPECT_EQ(RunDialog(), DLG_SKIP);
    EXPECT_TRUE(r.boxes.empty());
}

TEST(Dialog, EnterInTheFieldActsAsInstall)
{
    Prepare("c:\\nav", IDS_FOUND_NAVIGATOR, IDS_SKIP_HINT, IDS_CLICK_INSTALL, 0);
    Responder r;
    r.dialogActions = {[](HWND d) {
        PostMessageA(GetDlgItem(d, IDC_BROWSER_DIR), WM_KEYDOWN, VK_RETURN, 0);
    }};
    EXPECT_EQ(RunDialog(), DLG_INSTALL);
    EXPECT_STREQ(setupState.browserDir, "c:\\nav");
}

// Types a path into the open-file dialog and confirms it.
auto Pick(const std::string &path)
{
    return [path](HWND fileDialog) { PickInFileDialog(fileDialog, path); };
}

TEST(Dialog, BrowsePicksAProgram)
{
    ScratchDir dir("browse");
    std::string lowerDir = dir.path();
    LowercaseAscii(&lowerDir[0]);
    struct Case {
        std::string exe, shownDir;
    } cases[] = {
        {dir / "Netscape.EXE", lowerDir},
        {"C:\\NETSCAPE.EXE", "c:"},  // in the root of a drive: no separator left
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.exe);
        ASSERT_TRUE(WriteFileBytes(c.exe, "MZ"));
        Prepare("c:\\nav", IDS_FOUND_NAVIGATOR, IDS_SKIP_HINT, IDS_CLICK_INSTALL, 0);
        Responder r;
        r.dialogActions = {Click(IDC_BROWSE), Click(IDC_SKIP)};
        r.fileDialogActions = {Pick(c.exe)};
        EXPECT_EQ(RunDialog(), DLG_SKIP);
        DeleteFileA(c.exe.c_str());
        EXPECT_EQ(r.fileDialogTitles.size(), 1u);
        ASSERT_EQ(r.dialogs.size(), 2u);
        EXPECT_EQ(r.dialogs[1].dir, c.shownDir);
        EXPECT_EQ(std::string(setupState.browserDir), c.shownDir);
        EXPECT_EQ(std::string(setupState.browserExe), c.exe);  // keeps its letter case
        EXPECT_TRUE(r.boxes.empty());
    }
}

TEST(Dialog, BrowseCancelledOrTooLongChangesNothing)
{
    ScratchDir dir("browse_long");
    // 140 characters: more than the 128-byte file buffer takes.
    const std::string deep = dir / std::string(100, 'd');
    CreateDirectoryA(deep.c_str(), NULL);
    const std::string exe = deep + "\\netscape.exe";
    ASSERT_TRUE(WriteFileBytes(exe, "MZ"));
    Prepare("c:\\nav", IDS_FOUND_NAVIGATOR, IDS_SKIP_HINT, IDS_CLICK_INSTALL, 0, "C:\\Before\\netscape.exe");
    Responder r({"OK", "OK"});
    r.dialogActions = {Click(IDC_BROWSE), Click(IDC_BROWSE), Click(IDC_SKIP)};
    r.fileDialogActions = {[](HWND f) { PostMessageA(f, WM_COMMAND, IDCANCEL, 0); }, Pick(exe)};
    EXPECT_EQ(RunDialog(), DLG_SKIP);
    ASSERT_EQ(r.dialogs.size(), 3u);
    EXPECT_EQ(r.dialogs[2].dir, "c:\\nav");
    EXPECT_STREQ(setupState.browserDir, "c:\\nav");
    EXPECT_STREQ(setupState.browserExe, "C:\\Before\\netscape.exe");
}

} // namespace
