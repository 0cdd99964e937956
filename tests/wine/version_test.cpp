// Reading ProductName and FileVersion through the version service.
#include "helpers.h"
#include "install/version_info.h"
#include "responder.h"

namespace {

struct VersionCase {
    const char *file;  // fixture image, or a path that does not exist
    int result;
    const char *product;  // expected buffers; "keep" = untouched
    const char *version;
};

TEST(Version, ReadsTheFirstTranslationOnly)
{
    const std::string longVersion =
        "123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789";
    const VersionCase cases[] = {
        {"qd_same.dll", 1, "QuillDeck", "3.0.1.123.2"},
        {"qd_german.dll", 1, "QuillDeck", "3.5"},
        {"nav408.exe", 1, "Netscape Navigator", "4.08"},
        {"qd_long.dll", 1, "QuillDeck", longVersion.c_str()},  // 160 characters cut to 99
        {"qd_no_fileversion.dll", 0, "QuillDeck", "keep"},
        {"qd_empty_fileversion.dll", 0, "QuillDeck", "keep"},
        {"qd_second_translation.dll", 0, "keep", "keep"},
        {"no_version.dll", 0, "keep", "keep"},
        {"not_there.dll", 0, "keep", "keep"},
    };
    for (const VersionCase &c : cases) {
        SCOPED_TRACE(c.file);
        char product[100] = "keep";
        char version[100] = "keep";
        Responder r;
        EXPECT_EQ(GetVersionStrings(FixturePath(c.file).c_str(), product, sizeof product, version, sizeof version),
                  c.result);
        EXPECT_STREQ(product, c.product);
        EXPECT_STREQ(version, c.version);
        EXPECT_TRUE(r.boxes.empty());
    }
}

TEST(Version, ThePluginLibraryIsTheProductAtItsVersion)
{
    char product[100] = "", version[100] = "";
    ASSERT_EQ(GetVersionStrings(PayloadPath("NpQDK32.dll").c_str(), product, 100, version, 100), 1);
    EXPECT_STREQ(product, "QuillDeck");
    EXPECT_STREQ(version, "3.0.1.123.2");
    // Nothing survives a call: the same answer again.
    char product2[100] = "", version2[100] = "";
    ASSERT_EQ(GetVersionStrings(PayloadPath("NpQDK32.dll").c_str(), product2, 100, version2, 100), 1);
    EXPECT_STREQ(product2, product);
    EXPECT_STREQ(version2, version);
}

TEST(Version, AShortBufferGetsAsMuchAsFits)
{
    char product[5] = "", version[4] = "";
    EXPECT_EQ(GetVersionStrings(FixturePath("qd_same.dll").c_str(), product, sizeof product, version, sizeof version), 1);
    EXPECT_STREQ(product, "Quil");
    EXPECT_STREQ(version, "3.0");
}

} // namespace
