// Expanding the embedded plug-in library into a temporary file.
#include <cctype>

#include "helpers.h"
#include "payload/extract.h"
#include "responder.h"

namespace {

std::string TempFolder()
{
    char buffer[MAX_PATH];
    GetTempPathA(sizeof buffer, buffer);
    return buffer;
}

std::string Lower(std::string s)
{
    for (char &c : s) c = (char)std::tolower((unsigned char)c);
    return s;
}

class ExtractTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        SelectExpander(GetParam());
        DeleteFileA((TempFolder() + "slc1.tmp").c_str());
        DeleteFileA((TempFolder() + "slc2.tmp").c_str());
    }
    void TearDown() override
    {
        SelectExpander(EXPANDER_SYSTEM);
        DeleteFileA((TempFolder() + "slc1.tmp").c_str());
        DeleteFileA((TempFolder() + "slc2.tmp").c_str());
    }
};

TEST_P(ExtractTest, ExpandsThePayloadIntoTheSecondTemporaryFile)
{
    // Leftovers of an earlier run, longer than the payload, are overwritten.
    const std::string stale(100000, 'x');
    ASSERT_TRUE(WriteFileBytes(TempFolder() + "slc1.tmp", stale));
    ASSERT_TRUE(WriteFileBytes(TempFolder() + "slc2.tmp", stale));

    Responder r;
    char out[512] = "untouched";
    ASSERT_EQ(ExtractPluginPayload(GetModuleHandleA(NULL), out), 1);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_EQ(Lower(out), Lower(TempFolder() + "slc2.tmp"));
    const std::string expanded = ReadFileBytes(out);
    EXPECT_EQ(expanded, ReadFileBytes(PayloadPath("NpQDK32.dll")));
    EXPECT_EQ(expanded.substr(0, 2), "MZ");
    EXPECT_FALSE(FileThere(TempFolder() + "slc1.tmp"));
}

struct BadPayload {
    const char *module;
    const char *message;  // "" for none
};

TEST_P(ExtractTest, RefusesAMissingEmptyOrDamagedPayload)
{
    const BadPayload cases[] = {
        {"res_no_payload.dll", "Can't get resource"},
        {"res_empty.dll", ""},
        {"res_truncated.dll", "Error decompressing file"},
        {"res_mode_b.dll", "Error decompressing file"},
        {"res_plain.dll", "Error decompressing file"},
    };
    for (const BadPayload &c : cases) {
        SCOPED_TRACE(c.module);
        ASSERT_TRUE(WriteFileBytes(TempFolder() + "slc1.tmp", "left by an earlier run"));
        HMODULE module = LoadLibraryA(FixturePath(c.module).c_str());
        ASSERT_NE(module, nullptr);
        Responder r;
        char out[512] = "untouched";
        EXPECT_EQ(ExtractPluginPayload(module, out), 0);
        EXPECT_STREQ(out, "untouched");
        if (*c.message) {
            EXPECT_EQ(r.boxes, std::vector<MessageBoxView>{ErrorBox(c.message)});
        } else {
            EXPECT_TRUE(r.boxes.empty());
        }
        // No temporary file is left behind, whatever failed.
        if (std::string(c.module) != "res_no_payload.dll") {
            EXPECT_FALSE(FileThere(TempFolder() + "slc1.tmp"));
        }
        EXPECT_FALSE(FileThere(TempFolder() + "slc2.tmp"));
        FreeLibrary(module);
        DeleteFileA((TempFolder() + "slc1.tmp").c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(BothExpanders, ExtractTest, ::testing::Values(EXPANDER_SYSTEM, EXPANDER_BUILT_IN),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return std::string(info.param == EXPANDER_SYSTEM ? "LzService" : "BuiltIn");
                         });

// The temporary folder comes from TMP; each case points it elsewhere.
class TempVariable {
public:
    explicit TempVariable(const std::string &value)
    {
        GetEnvironmentVariableA("TMP", saved_, sizeof saved_);
        SetEnvironmentVariableA("TMP", value.c_str());
    }
    ~TempVariable() { SetEnvironmentVariableA("TMP", saved_); }

private:
    char saved_[1024] = "";
};

TEST(Extract, MissingTemporaryFolderCannotTakeTheFile)
{
    ScratchDir dir("extract_missing_tmp");
    TempVariable tmp(dir / "not_there");
    Responder r;
    char out[512] = "untouched";
    EXPECT_EQ(ExtractPluginPayload(GetModuleHandleA(NULL), out), 0);
    EXPECT_EQ(r.boxes, std::vector<MessageBoxView>{ErrorBox("Can't open file")});
    EXPECT_STREQ(out, "untouched");
}

TEST(Extract, TemporaryFolderTooLongForTheBuffer)
{
    TempVariable tmp("C:\\" + std::string(600, 'd'));
    Responder r;
    char out[512] = "untouched";
    EXPECT_EQ(ExtractPluginPayload(GetModuleHandleA(NULL), out), 0);
    EXPECT_EQ(r.boxes, std::vector<MessageBoxView>{ErrorBox("Can't locate temp directory")});
}

TEST(Extract, WriteBufferToFileCreatesTruncatesAndReports)
{
    ScratchDir dir("write_buffer");
    const std::string path = dir / "out.bin";
    ASSERT_TRUE(WriteFileBytes(path, std::string(5000, 'o')));
    Responder r;
    EXPECT_EQ(WriteBufferToFile("new bytes", 9, path.c_str()), 1);
    EXPECT_EQ(ReadFileBytes(path), "new bytes");
    EXPECT_EQ(WriteBufferToFile("x", 1, (dir / "missing\\out.bin").c_str()), 0);
    EXPECT_EQ(r.boxes, std::vector<MessageBoxView>{ErrorBox("Can't open file")});
}

TEST(Extract, ExpandCompressedFileReportsMissingSourceAndUncreatableDestination)
{
    ScratchDir dir("expand_errors");
    Responder r;
    EXPECT_EQ(ExpandCompressedFile((dir / "none.dl_").c_str(), (dir / "out.dll").c_str()), 0);
    EXPECT_EQ(ExpandCompressedFile(PayloadPath("NpQDK32.dl_").c_str(), (dir / "missing\\out.dll").c_str()), 0);
    const LONG count = ExpandCompressedFile(PayloadPath("NpQDK32.dl_").c_str(), (dir / "out.dll").c_str());
    EXPECT_EQ(count, (LONG)ReadFileBytes(PayloadPath("NpQDK32.dll")).size());
    EXPECT_EQ(r.boxes, (std::vector<MessageBoxView>{ErrorBox("Can't open compressed source file"),
                                                    ErrorBox("Can't create destination file")}));
}

} // namespace
