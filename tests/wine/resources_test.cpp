// The compiled resources: dialog template, strings, icon and payloads.
#include <cstring>

#include "helpers.h"
#include "payload/szdd.h"

namespace {

std::string Resource(const char *type, const char *name)
{
    HMODULE self = GetModuleHandleA(NULL);
    HRSRC found = FindResourceA(self, name, type);
    if (!found) return std::string();
    const char *bytes = (const char *)LockResource(LoadResource(self, found));
    return std::string(bytes, SizeofResource(self, found));
}

// Reads the classic (non-extended) dialog template.
struct Reader {
    const unsigned char *p;
    WORD Word() { WORD w; std::memcpy(&w, p, 2); p += 2; return w; }
    DWORD Dword() { DWORD d; std::memcpy(&d, p, 4); p += 4; return d; }
    std::string Text()
    {
        std::string s;
        for (WORD c; (c = Word()) != 0;) s += (char)c;
        return s;
    }
    // A class or title: an ordinal (0xFFFF, n) or text.
    std::string NameOrOrdinal()
    {
        WORD first;
        std::memcpy(&first, p, 2);
        if (first == 0xFFFF) {
            p += 2;
            return "#" + std::to_string(Word());
        }
        return Text();
    }
    void AlignDword(const unsigned char *base)
    {
        while ((p - base) % 4) ++p;
    }
};

struct Control {
    int id;
    std::string cls, text;
    int x, y, cx, cy;
    DWORD style;
};

std::string ClassName(const std::string &raw)
{
    if (raw == "#128") return "button";
    if (raw == "#129") return "edit";
    if (raw == "#130") return "static";
    std::string s = raw;
    for (char &c : s) c = (char)tolower((unsigned char)c);
    return s;
}

TEST(Resources, DialogTemplate102)
{
    const std::string raw = Resource((const char *)RT_DIALOG, MAKEINTRESOURCEA(102));
    ASSERT_FALSE(raw.empty());
    const unsigned char *base = (const unsigned char *)raw.data();
    Reader r{base};
    EXPECT_EQ(r.Dword(), 0x90C800C0u);  // style
    EXPECT_EQ(r.Dword(), 0u);           // extended style
    const WORD count = r.Word();
    EXPECT_EQ(count, 9);
    EXPECT_EQ(r.Word(), 100);
    EXPECT_EQ(r.Word(), 100);
    EXPECT_EQ(r.Word(), 223);
    EXPECT_EQ(r.Word(), 149);
    EXPECT_EQ(r.NameOrOrdinal(), "");  // no menu
    EXPECT_EQ(r.NameOrOrdinal(), "");  // standard class
    EXPECT_EQ(r.Text(), "QuillDeck Plugin Setup");
    EXPECT_EQ(r.Word(), 8);
    EXPECT_EQ(r.Text(), "MS Sans Serif");

    const Control expected[] = {
        {1003, "button", "&Install", 31, 120, 49, 14, 0x50010001},
        {1006, "button", "E&xit Setup", 143, 120, 49, 14, 0x50010000},
        {1002, "button", "Browse..", 149, 90, 40, 12, 0x50010000},
        {1001, "edit", "", 33, 90, 116, 12, 0x50810090},
        {0xFFFF, "static", "Browser Directory:", 7, 73, 70, 9, 0x50020000},
        {1008, "button", "&Skip", 87, 120, 49, 14, 0x50010000},
        {12, "static", "", 21, 3, 180, 19, 0x50000000},
        {14, "static", "", 21, 49, 180, 19, 0x50000000},
        {13, "static", "", 21, 26, 180, 19, 0x50000000},
    };
    for (int i = 0; i < count && i < 9; ++i) {
        SCOPED_TRACE(i);
        r.AlignDword(base);
        const DWORD style = r.Dword();
        EXPECT_EQ(r.Dword(), 0u);
        const int x = r.Word(), y = r.Word(), cx = r.Word(), cy = r.Word();
        const int id = r.Word();
        const std::string cls = ClassName(r.NameOrOrdinal());
        const std::string text = r.NameOrOrdinal();
        r.p += r.Word();  // creation data
        EXPECT_EQ(id, expected[i].id);
        EXPECT_EQ(cls, expected[i].cls);
        EXPECT_EQ(text, expected[i].text);
        EXPECT_EQ(style, expected[i].style);
        EXPECT_EQ(x, expected[i].x);
        EXPECT_EQ(y, expected[i].y);
        EXPECT_EQ(cx, expected[i].cx);
        EXPECT_EQ(cy, expected[i].cy);
    }
}

TEST(Resources, StringTable)
{
    const std::pair<UINT, const char *> strings[] = {
        {1, kFoundNavigator}, {2, kFoundWebSurfer}, {4, kSkipHint},  {5, kEnterLocation},
        {6, kThenInstall},    {7, kFoundExplorer},  {1005, kClickInstall},
    };
    for (const auto &s : strings) {
        char buffer[256] = "";
        EXPECT_EQ(LoadStringA(GetModuleHandleA(NULL), s.first, buffer, sizeof buffer), (int)strlen(s.second));
        EXPECT_STREQ(buffer, s.second);
    }
    for (UINT other : {0u, 3u, 8u, 1004u, 1006u}) {
        char buffer[256] = "";
        EXPECT_EQ(LoadStringA(GetModuleHandleA(NULL), other, buffer, sizeof buffer), 0) << other;
    }
}

TEST(Resources, IconGroupHasTwoSixteenColourImages)
{
    const std::string group = Resource((const char *)RT_GROUP_ICON, MAKEINTRESOURCEA(101));
    ASSERT_EQ(group.size(), 6u + 2 * 14);
    const unsigned char *g = (const unsigned char *)group.data();
    EXPECT_EQ(g[4], 2);
    EXPECT_EQ(g[6], 32);
    EXPECT_EQ(g[8], 16);   // colours
    EXPECT_EQ(g[6 + 14], 16);
    EXPECT_EQ(g[8 + 14], 16);
}

TEST(Resources, PayloadsUnderTheirNames)
{
    const std::string packed = Resource("BINARY", "myprog");
    const std::string plain = ReadFileBytes(PayloadPath("NpQDK32.dll"));
    uint32_t length = 0;
    ASSERT_EQ(SzddReadHeader((const unsigned char *)packed.data(), packed.size(), &length), SZDD_OK);
    EXPECT_EQ(length, plain.size());
    std::string expanded(length, '\0');
    size_t got = 0;
    EXPECT_EQ(SzddExpand((const unsigned char *)packed.data(), packed.size(), (unsigned char *)&expanded[0],
                         expanded.size(), &got),
              SZDD_OK);
    EXPECT_EQ(expanded, plain);
    EXPECT_EQ(Resource("BINARY", "QDCLASS"), ReadFileBytes(PayloadPath("QDPlugin.zip")));
}

} // namespace
