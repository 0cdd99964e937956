// Finding browsers in the registry, and the directory test.
#include "browsers/probes.h"
#include "helpers.h"
#include "responder.h"

namespace {

const char *kNavKey = "Software\\Netscape\\Netscape Navigator\\Main";
const char *kIeAppKey = "InternetExplorer.Application\\CLSID";
const char *kIeClsid = "{QD-TEST}";
const char *kIeServerKey = "CLSID\\{QD-TEST}\\LocalServer32";
const char *kWsKey = "Software\\Netmanage\\TCPIP";

std::string Lower(std::string s)
{
    LowercaseAscii(&s[0]);
    return s;
}

TEST(Probes, NavigatorFoundAppendsProgramAndEntersIt)
{
    RegistryScope reg;
    ScratchDir dir("nav");
    CreateDirectoryA((dir / "Program").c_str(), NULL);
    reg.SetString(HKEY_CURRENT_USER, kNavKey, "Install Directory", dir.path());
    Responder r;
    char out[512];
    const std::string expected = dir / "Program";
    EXPECT_EQ(FindNavigatorDir(out), (short)expected.size());
    EXPECT_EQ(std::string(out), expected);
    EXPECT_EQ(Lower(CurrentDir()), Lower(expected));
    EXPECT_TRUE(r.boxes.empty());
}

TEST(Probes, NavigatorDirectoryEndingInBackslashGetsTwo)
{
    RegistryScope reg;
    ScratchDir dir("nav_bs");
    CreateDirectoryA((dir / "Program").c_str(), NULL);
    reg.SetString(HKEY_CURRENT_USER, kNavKey, "Install Directory", dir.path() + "\\");
    char out[512];
    const std::string expected = dir.path() + "\\\\Program";
    EXPECT_EQ(FindNavigatorDir(out), (short)expected.size());
    EXPECT_EQ(std::string(out), expected);
}

TEST(Probes, NothingFoundLeavesTheWorkingDirectory)
{
    RegistryScope reg;
    ScratchDir dir("nav_missing");
    const std::string before = CurrentDir();
    char out[512] = "untouched";
    // No keys at all.
    EXPECT_EQ(FindNavigatorDir(out), 0);
    EXPECT_EQ(FindExplorerDir(out), 0);
    EXPECT_EQ(FindWebSurferDir(out), 0);
    EXPECT_STREQ(out, "untouched");
    // Registered, but the directory is not there.
    reg.SetString(HKEY_CURRENT_USER, kNavKey, "Install Directory", dir / "gone");
    reg.SetString(HKEY_LOCAL_MACHINE, kWsKey, "Path", dir / "gone");
    EXPECT_EQ(FindNavigatorDir(out), 0);
    EXPECT_EQ(FindWebSurferDir(out), 0);
    EXPECT_EQ(CurrentDir(), before);
}

TEST(Probes, ValuesThatAreNotUsableText)
{
    RegistryScope reg;
    ScratchDir dir("bad_values");
    CreateDirectoryA((dir / "Program").c_str(), NULL);
    char out[512] = "untouched";
    struct Case {
        const char *what;
        std::string bytes;
        DWORD type;
    } cases[] = {
        {"a number", std::string("\x01\x00\x00\x00", 4), REG_DWORD},
        {"binary data", dir.path() + std::string(1, '\0'), REG_BINARY},
        {"512 bytes without a terminator", std::string(512, 'a'), REG_SZ},
        {"600 characters", std::string(600, 'a') + std::string(1, '\0'), REG_SZ},
        {"511 characters: no room for \\Program", std::string(511, 'a') + std::string(1, '\0'), REG_SZ},
        {"504 characters: no room for \\Program", std::string(504, 'a') + std::string(1, '\0'), REG_SZ},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        reg.SetBinary(HKEY_CURRENT_USER, kNavKey, "Install Directory", c.bytes, c.type);
        EXPECT_EQ(FindNavigatorDir(out), 0);
        EXPECT_STREQ(out, "untouched");
    }
    // A value stored without its terminator, shorter than the buffer, is text.
    reg.SetBinary(HKEY_CURRENT_USER, kNavKey, "Install Directory", dir.path(), REG_SZ);
    EXPECT_EQ(FindNavigatorDir(out), (short)(dir.path().size() + 8));
}

struct ServerCase {
    const char *what;
    std::string serverPath;  // "%s" stands for the scratch directory
    bool found;
    std::string output;      // expected directory ("%s" likewise)
    int extraLength;         // the result counts a skipped quotation mark
};

std::string Fill(const std::string &pattern, const std::string &dir)
{
    std::string s = pattern;
    const size_t at = s.find("%s");
    if (at != std::string::npos) s.replace(at, 2, dir);
    return s;
}

TEST(Probes, ExplorerServerPaths)
{
    RegistryScope reg;
    ScratchDir scratch("ie");
    const std::string dir = scratch.path();
    const ServerCase cases[] = {
        {"quoted, capitals", "\"%s\\IEXPLORE.EXE\"", true, "%s", 1},
        {"quoted, small letters", "\"%s\\iexplore.exe\" -nohome", true, "%s", 1},
        {"unquoted", "%s\\iexplore.exe", true, "%s", 0},
        {"the name twice: cut at the first", "\"%s\\iexplore.exe\\iexplore.exe\"", true, "%s", 1},
        {"starts with the name", "\\iexplore.exe", false, "", 0},
        {"no such name", "\"%s\\explorer.exe\"", false, "", 0},
        {"directory not there", "\"%s\\gone\\iexplore.exe\"", false, "", 0},
    };
    for (const ServerCase &c : cases) {
        SCOPED_TRACE(c.what);
        reg.SetString(HKEY_CLASSES_ROOT, kIeAppKey, "", kIeClsid);
        reg.SetString(HKEY_CLASSES_ROOT, kIeServerKey, "", Fill(c.serverPath, dir));
        char out[512] = "untouched";
        const short result = FindExplorerDir(out);
        if (c.found) {
            const std::string expected = Lower(Fill(c.output, dir));
            EXPECT_EQ(std::string(out), expected);
            EXPECT_EQ(result, (short)(expected.size() + c.extraLength));
            EXPECT_EQ(Lower(CurrentDir()), expected);
        } else {
            EXPECT_EQ(result, 0);
        }
    }
}

TEST(Probes, ExplorerNeedsBothStages)
{
    RegistryScope reg;
    ScratchDir scratch("ie_stages");
    char out[512];
    reg.SetString(HKEY_CLASSES_ROOT, kIeServerKey, "", "\"" + scratch.path() + "\\iexplore.exe\"");
    EXPECT_EQ(FindExplorerDir(out), 0);  // no class id registered
    reg.SetString(HKEY_CLASSES_ROOT, kIeAppKey, "", "{QD-OTHER}");
    EXPECT_EQ(FindExplorerDir(out), 0);  // class id without a server
    // A long server path is read whole, whatever the class id's length.
    reg.SetString(HKEY_CLASSES_ROOT, kIeAppKey, "", kIeClsid);
    reg.SetString(HKEY_CLASSES_ROOT, kIeServerKey, "", "\"" + scratch.path() + "\\iexplore.exe\"" + std::string(400, ' '));
    EXPECT_GT(FindExplorerDir(out), 0);
    reg.SetString(HKEY_CLASSES_ROOT, kIeServerKey, "", "\"" + scratch.path() + "\\iexplore.exe\"" + std::string(511, ' '));
    EXPECT_EQ(FindExplorerDir(out), 0);  // over 511 characters
}

TEST(Probes, WebSurferPathIsTheDirectory)
{
    RegistryScope reg;
    ScratchDir dir("ws");
    reg.SetString(HKEY_LOCAL_MACHINE, kWsKey, "Path", dir.path());
    char out[512];
    EXPECT_EQ(FindWebSurferDir(out), (short)dir.path().size());
    EXPECT_EQ(std::string(out), dir.path());
}

TEST(Probes, ChangeDirectoryRecordsTheDriveDirectory)
{
    ScratchDir dir("chdir");
    const std::string before = CurrentDir();
    EXPECT_EQ(ChangeDirectory((dir / "missing").c_str()), -1);
    EXPECT_EQ(CurrentDir(), before);
    ASSERT_EQ(ChangeDirectory(dir.path().c_str()), 0);
    EXPECT_EQ(Lower(CurrentDir()), Lower(dir.path()));
    char name[4] = {'=', (char)toupper((unsigned char)dir.path()[0]), ':', 0};
    char value[1024] = "";
    GetEnvironmentVariableA(name, value, sizeof value);
    EXPECT_EQ(Lower(value), Lower(dir.path()));
}

TEST(Probes, LowercaseAsciiTouchesOnlyAToZ)
{
    char text[] = "C:\\PROGRAM FILES\\Nav 4.08\\\xC4\xD6\xDC@[`{";
    EXPECT_EQ(LowercaseAscii(text), text);
    EXPECT_STREQ(text, "c:\\program files\\nav 4.08\\\xC4\xD6\xDC@[`{");
}

} // namespace
