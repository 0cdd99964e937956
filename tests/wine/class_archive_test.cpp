// Recognising Navigator 3 and later, and writing the class archive.
#include "helpers.h"
#include "payload/class_archive.h"
#include "responder.h"
#include "setup/setup_state.h"

namespace {

struct NavCase {
    const char *fixture;
    const char *name;  // the executable's file name
    int result;
};

TEST(ClassArchive, RecognisesNavigatorThreeAndLater)
{
    const NavCase cases[] = {
        {"nav408.exe", "netscape.exe", 1},
        {"nav30.exe", "NETSCAPE.EXE", 1},
        {"nav408.exe", "mynetscape.exe", 1},  // only the last 12 characters count
        {"nav_letter.exe", "netscape.exe", 1},  // "A1": a letter sorts above '3'
        {"nav202.exe", "netscape.exe", 0},
        {"nav10.exe", "netscape.exe", 0},  // "10.0" begins with '1'
        {"nav_high.exe", "netscape.exe", 0},  // a byte above 0x7F is negative
        {"nav408.exe", "iexplore.exe", 0},
        {"ie4.exe", "iexplore.exe", 0},
        {"nav408.exe", "websurf.exe", 0},
        {"no_version.dll", "netscape.exe", 0},
    };
    ScratchDir dir("navtest");
    for (const NavCase &c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " as " + c.name);
        const std::string exe = dir / c.name;
        ASSERT_TRUE(CopyFileA(FixturePath(c.fixture).c_str(), exe.c_str(), FALSE));
        Responder r;
        EXPECT_EQ(IsNavigator3OrLater(exe.c_str()), c.result);
        EXPECT_TRUE(r.boxes.empty());
        DeleteFileA(exe.c_str());
    }
    EXPECT_EQ(IsNavigator3OrLater("c:\\a.exe"), 0);
    EXPECT_EQ(IsNavigator3OrLater(""), 0);
}

const char *kQuestion = "File QDPlugin.zip already exists, Overwrite?";

class ArchiveTest : public ::testing::Test {
protected:
    ArchiveTest() : dir_("archive")
    {
        lstrcpyA(setupState.destDir, dir_.path().c_str());
        target_ = dir_ / "QDPlugin.zip";
        archive_ = ReadFileBytes(PayloadPath("QDPlugin.zip"));
    }
    ScratchDir dir_;
    std::string target_, archive_;
};

TEST_F(ArchiveTest, WrittenWithoutAQuestionWhenNoneIsThere)
{
    for (LONG flag : {0, 1}) {
        DeleteFileA(target_.c_str());
        Responder r;
        EXPECT_EQ(InstallClassArchive(GetModuleHandleA(NULL), flag), 1);
        EXPECT_EQ(ReadFileBytes(target_), archive_);
        EXPECT_TRUE(r.boxes.empty());
    }
}

TEST_F(ArchiveTest, AnOldArchiveIsReplacedSilentlyOrAfterAQuestion)
{
    struct Case {
        LONG flag;
        std::vector<std::string> answers;
        bool asked, replaced;
    } cases[] = {{1, {}, false, true}, {0, {"Yes"}, true, true}, {0, {"No"}, true, false}};
    for (const Case &c : cases) {
        ASSERT_TRUE(WriteFileBytes(target_, "an older archive"));
        Responder r(c.answers);
        EXPECT_EQ(InstallClassArchive(GetModuleHandleA(NULL), c.flag), 1);
        EXPECT_EQ(ReadFileBytes(target_), c.replaced ? archive_ : std::string("an older archive"));
        if (c.asked) {
            EXPECT_EQ(r.boxes, std::vector<MessageBoxView>{SetupBox(kQuestion, "Yes*,No")});
        } else {
            EXPECT_TRUE(r.boxes.empty());
        }
    }
}

TEST_F(ArchiveTest, ResourceFailuresComeBeforeAnyQuestion)
{
    ASSERT_TRUE(WriteFileBytes(target_, "an older archive"));
    HMODULE none = LoadLibraryA(FixturePath("res_no_payload.dll").c_str());
    HMODULE empty = LoadLibraryA(FixturePath("res_empty.dll").c_str());
    Responder r;
    EXPECT_EQ(InstallClassArchive(none, 0), 0);
    EXPECT_EQ(InstallClassArchive(empty, 0), 0);
    EXPECT_EQ(r.boxes, std::vector<MessageBoxView>{ErrorBox("Can't get resource")});
    EXPECT_EQ(ReadFileBytes(target_), "an older archive");
    FreeLibrary(none);
    FreeLibrary(empty);
}

TEST_F(ArchiveTest, DestinationsThatCannotTakeIt)
{
    Responder r({"OK", "OK", "OK"});
    lstrcpyA(setupState.destDir, (dir_ / "gone").c_str());
    EXPECT_EQ(InstallClassArchive(GetModuleHandleA(NULL), 1), 0);
    // No room for "\QDPlugin.zip" in 512 bytes: nothing is written.
    const std::string longDir = dir_.path() + "\\" + std::string(510 - dir_.path().size(), 'x');
    lstrcpyA(setupState.destDir, longDir.c_str());
    EXPECT_EQ(InstallClassArchive(GetModuleHandleA(NULL), 1), 0);
    // A read-only archive stays as it was.
    lstrcpyA(setupState.destDir, dir_.path().c_str());
    ASSERT_TRUE(WriteFileBytes(target_, "read-only archive"));
    SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(InstallClassArchive(GetModuleHandleA(NULL), 1), 0);
    SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(target_), "read-only archive");
    EXPECT_EQ(r.boxes, (std::vector<MessageBoxView>{ErrorBox("Can't open file"), ErrorBox("File name too long!"),
                                                    ErrorBox("Can't open file")}));
}

} // namespace
