// The plugins folder, the existing-file check and the copy.
#include "browsers/probes.h"
#include "helpers.h"
#include "install/plugin_install.h"
#include "responder.h"
#include "setup/setup_state.h"

namespace {

const char *kNewerQuestion = "A newer dll version already exists! \n Do you want to overwrite existing dll?";

MessageBoxView NewerQuestion()
{
    MessageBoxView box = SetupBox(kNewerQuestion, "Yes,No*");
    box.icon = true;
    return box;
}

std::string Refusal(const std::string &path)
{
    return "Can't copy " + path + " !  \n File of the same name already exists!";
}

// Names of the files in a folder, to show nothing was left behind.
std::vector<std::string> Listing(const std::string &dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string n = fd.cFileName;
        if (n != "." && n != "..") names.push_back(n);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

TEST(PluginsDir, ExistingMissingAndImpossibleFolders)
{
    ScratchDir dir("prepare");
    CreateDirectoryA((dir / "has").c_str(), NULL);
    CreateDirectoryA((dir / "has\\plugins").c_str(), NULL);
    CreateDirectoryA((dir / "lacks").c_str(), NULL);
    CreateDirectoryA((dir / "file").c_str(), NULL);
    WriteFileBytes(dir / "file\\plugins", "not a folder");

    Responder r({"OK", "OK"});
    char field[512];

    lstrcpyA(field, (dir / "has").c_str());
    EXPECT_EQ(PreparePluginsDir(field, sizeof field), 1);
    EXPECT_EQ(std::string(field), dir / "has\\plugins");
    EXPECT_EQ(CurrentDir(), dir / "has\\plugins");  // entered

    const std::string before = CurrentDir();
    lstrcpyA(field, (dir / "lacks").c_str());
    EXPECT_EQ(PreparePluginsDir(field, sizeof field), 1);
    EXPECT_TRUE(DirThere(dir / "lacks\\plugins"));
    EXPECT_EQ(CurrentDir(), before);  // created, not entered

    lstrcpyA(field, (dir / "has\\").c_str());
    EXPECT_EQ(PreparePluginsDir(field, sizeof field), 1);
    EXPECT_EQ(std::string(field), dir.path() + "\\has\\\\plugins");

    EXPECT_TRUE(r.boxes.empty());
    lstrcpyA(field, (dir / "gone").c_str());  // one level only
    EXPECT_EQ(PreparePluginsDir(field, sizeof field), 0);
    EXPECT_EQ(std::string(field), dir / "gone\\plugins");
    lstrcpyA(field, (dir / "file").c_str());
    EXPECT_EQ(PreparePluginsDir(field, sizeof field), 0);
    EXPECT_EQ(r.boxes, (std::vector<MessageBoxView>{ErrorBox("Can't create plugins directory"),
                                                    ErrorBox("Can't create plugins directory")}));

    field[0] = '\0';
    EXPECT_EQ(PreparePluginsDir(field, sizeof field), 0);
    EXPECT_EQ(r.boxes.size(), 2u);  // silent for an empty directory
}

struct ExistingCase {
    const char *fixture;  // what is at the destination; "" for nothing
    std::vector<std::string> answers;
    int result;
    LONG overwriteConfirmed;
    enum { NONE, QUESTION, REFUSAL } shown;
};

TEST(CheckExisting, DecidesByProductMarkAndVersionText)
{
    const ExistingCase cases[] = {
        {"", {}, 1, 0, ExistingCase::NONE},
        {"qd_same.dll", {}, 1, 1, ExistingCase::NONE},
        {"qd_inside.dll", {}, 1, 1, ExistingCase::NONE},              // "The QuillDeck Plugin" 2.0
        {"qd_10_0_0_1.dll", {}, 1, 1, ExistingCase::NONE},            // "3..." sorts above "10..."
        {"qd_no_fileversion.dll", {}, 1, 1, ExistingCase::NONE},      // empty version sorts below
        {"qd_3_0_1_99_0.dll", {"No"}, 0, 0, ExistingCase::QUESTION},  // "3.0.1.1" sorts below "3.0.1.9"
        {"qd_3_0_1_99_0.dll", {"Yes"}, 1, 1, ExistingCase::QUESTION},
        {"qd_lowercase.dll", {"OK"}, 0, 0, ExistingCase::REFUSAL},
        {"foreign.dll", {"OK"}, 0, 0, ExistingCase::REFUSAL},
        {"no_version.dll", {"OK"}, 0, 0, ExistingCase::REFUSAL},
    };
    ScratchDir dir("check");
    const std::string dest = dir / "NpQDK32.dll";
    for (const ExistingCase &c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " " + (c.answers.empty() ? "" : c.answers[0]));
        DeleteFileA(dest.c_str());
        if (*c.fixture) {
            ASSERT_TRUE(CopyFileA(FixturePath(c.fixture).c_str(), dest.c_str(), FALSE));
        }
        const std::string before = ReadFileBytes(dest);
        setupState.overwriteConfirmed = 0;
        Responder r(c.answers);
        EXPECT_EQ(CheckExistingPlugin(PayloadPath("NpQDK32.dll").c_str(), dest.c_str()), c.result);
        EXPECT_EQ(setupState.overwriteConfirmed, c.overwriteConfirmed);
        std::vector<MessageBoxView> expected;
        if (c.shown == ExistingCase::QUESTION) expected.push_back(NewerQuestion());
        if (c.shown == ExistingCase::REFUSAL) expected.push_back(ErrorBox(Refusal(dest)));
        EXPECT_EQ(r.boxes, expected);
        EXPECT_EQ(ReadFileBytes(dest), before);  // the check never touches the file
    }
}

TEST(CheckExisting, RefusalShowsALongPathWhole)
{
    ScratchDir dir("check_long");
    const std::string deep = dir / std::string(150, 'p');
    CreateDirectoryA(deep.c_str(), NULL);
    const std::string dest = deep + "\\NpQDK32.dll";
    ASSERT_GT(dest.size(), 150u);
    ASSERT_TRUE(CopyFileA(FixturePath("foreign.dll").c_str(), dest.c_str(), FALSE));
    Responder r({"OK"});
    EXPECT_EQ(CheckExistingPlugin(PayloadPath("NpQDK32.dll").c_str(), dest.c_str()), 0);
    EXPECT_EQ(r.boxes, std::vector<MessageBoxView>{ErrorBox(Refusal(dest))});
}

TEST(Copy, CopiesWholeFilesOfAnySize)
{
    ScratchDir dir("copy");
    const std::string dest = dir / "NpQDK32.dll";
    const std::string sizes[] = {std::string(), std::string(20000, 'a'), std::string(10001, 'b'),
                                 ReadFileBytes(PayloadPath("NpQDK32.dll"))};
    ASSERT_TRUE(WriteFileBytes(dest, std::string(300000, 'z')));  // longer than any: truncated
    for (const std::string &content : sizes) {
        SCOPED_TRACE(content.size());
        ASSERT_TRUE(WriteFileBytes(dir / "source.bin", content));
        EXPECT_EQ(CopyPluginFile((dir / "source.bin").c_str(), dest.c_str()), 1);
        EXPECT_EQ(ReadFileBytes(dest), content);
        EXPECT_EQ(Listing(dir.path()).size(), 2u);  // no scratch file left
    }
}

TEST(Copy, FailuresLeaveTheEarlierFileWhole)
{
    ScratchDir dir("copy_fail");
    const std::string dest = dir / "NpQDK32.dll";
    const std::string old = ReadFileBytes(FixturePath("qd_3_0_1_99_0.dll"));
    const std::string source = PayloadPath("NpQDK32.dll");
    Responder r;

    // Source missing.
    ASSERT_TRUE(WriteFileBytes(dest, old));
    EXPECT_EQ(CopyPluginFile((dir / "none.dll").c_str(), dest.c_str()), 0);
    EXPECT_EQ(ReadFileBytes(dest), old);

    // A read-only file of the product.
    SetFileAttributesA(dest.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(CopyPluginFile(source.c_str(), dest.c_str()), 0);
    SetFileAttributesA(dest.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(dest), old);

    // Held open by another program, sharing only reading, as a browser
    // holds a loaded plug-in.
    HANDLE held = CreateFileA(dest.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CopyPluginFile(source.c_str(), dest.c_str()), 0);
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(dest), old);

    // Held without any sharing: it cannot even be looked at, so the check
    // lets it pass as absent, and the copy still cannot replace it.
    held = CreateFileA(dest.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CheckExistingPlugin(source.c_str(), dest.c_str()), 1);
    EXPECT_EQ(CopyPluginFile(source.c_str(), dest.c_str()), 0);
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(dest), old);

    // The folder is gone.
    EXPECT_EQ(CopyPluginFile(source.c_str(), (dir / "gone\\NpQDK32.dll").c_str()), 0);

    EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"NpQDK32.dll"});
    EXPECT_TRUE(r.boxes.empty());  // the copy says nothing itself
}

} // namespace
