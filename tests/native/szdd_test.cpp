// The SZDD codec: the coding's corners, bad input, round trips, and
// agreement with independent peers (mscompress, msexpand).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "common/byte_files.h"
#include "payload/szdd.h"

namespace {


Bytes Header(uint32_t length, unsigned char mode = 'A')
{
    Bytes h = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, mode, 0};
    for (int i = 0; i < 4; ++i) h.push_back((unsigned char)(length >> (8 * i)));
    return h;
}

// Expands a whole file; returns the status and fills out.
int Expand(const Bytes &file, Bytes &out)
{
    uint32_t length = 0;
    int status = SzddReadHeader(file.data(), file.size(), &length);
    if (status != SZDD_OK) return status;
    out.assign(length, 0);
    size_t got = 0;
    status = SzddExpand(file.data(), file.size(), out.data(), out.size(), &got);
    out.resize(got);
    return status;
}

Bytes Compress(const Bytes &in)
{
    Bytes out(SzddCompressBound(in.size()));
    out.resize(SzddCompress(in.data(), in.size(), out.data(), 0));
    return out;
}

Bytes Str(const std::string &s) { return Bytes(s.begin(), s.end()); }

struct CodingCase {
    const char *what;
    Bytes data;  // compressed data after the header
    Bytes expected;
};

TEST(SzddExpand, CodingCorners)
{
    std::vector<CodingCase> cases = {
        // Eight literals, then a literal and a reference to window position
        // 4085: the sixth to eighth bytes written, three zeros. Any start
        // position but 4080 reads spaces or wrong bytes here.
        {"write position starts at 4080",
         {0xFF, 0x4D, 0x5A, 0x90, 0x00, 0x03, 0x00, 0x00, 0x00, 0x7D, 0x04, 0xF5, 0xF0},
         {0x4D, 0x5A, 0x90, 0x00, 0x03, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00}},
        {"unwritten window reads spaces", {0x00, 0x64, 0x0F}, Bytes(18, ' ')},
        {"half unwritten: spaces then output", {0x03, 'a', 'b', 0xEE, 0xF1}, Str("ab  ab")},
        {"the byte just written, five times", {0x01, 'a', 0xF0, 0xF2}, Str("aaaaaa")},
        {"a short last group", {0x07, 'x', 'y', 'z'}, Str("xyz")},
        {"empty data", {}, {}},
    };
    // Every length from 3 to 18, overlapping its own output at distance 2.
    for (int len = 3; len <= 18; ++len) {
        CodingCase c{"every length", {0x03, 'x', 'y', 0xF0, (unsigned char)(0xF0 | (len - 3))}, Str("xy")};
        for (int k = 0; k < len; ++k) c.expected.push_back(k % 2 ? 'y' : 'x');
        cases.push_back(c);
    }
    for (const CodingCase &c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = Header((uint32_t)c.expected.size());
        file.insert(file.end(), c.data.begin(), c.data.end());
        Bytes out;
        EXPECT_EQ(Expand(file, out), SZDD_OK);
        EXPECT_EQ(out, c.expected);
    }
}

TEST(SzddExpand, BadInputIsAnError)
{
    const Bytes good = Compress(Str("hello, hello, hello, world"));
    struct Case {
        const char *what;
        Bytes file;
        int status;
    } cases[] = {
        {"shorter than a header", Bytes(good.begin(), good.begin() + 10), SZDD_ERR_SHORT_HEADER},
        {"no signature", Str("MZ this is no SZDD file at all"), SZDD_ERR_SIGNATURE},
        {"mode B", [&] { Bytes b = good; b[8] = 'B'; return b; }(), SZDD_ERR_MODE},
        {"data cut short", Bytes(good.begin(), good.end() - 3), SZDD_ERR_TRUNCATED},
        {"a reference without its second byte", [] { Bytes b = Header(3); b.push_back(0x00); b.push_back(0x10); return b; }(),
         SZDD_ERR_TRUNCATED},
        {"length field too large", [&] { Bytes b = good; b[10]++; return b; }(), SZDD_ERR_TRUNCATED},
        {"length field too small", [&] { Bytes b = good; b[10]--; return b; }(), SZDD_ERR_TOO_LONG},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Bytes out;
        EXPECT_EQ(Expand(c.file, out), c.status);
        EXPECT_STRNE(SzddStatusText(c.status), "ok");
    }
}

Bytes Random(size_t n, unsigned seed, int alphabet)
{
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto &x : b) x = (unsigned char)(rng() % alphabet);
    return b;
}

TEST(SzddCompress, RoundTripsEveryShapeOfInput)
{
    std::vector<std::pair<std::string, Bytes>> inputs = {
        {"empty", {}},
        {"one byte", {42}},
        {"spaces", Bytes(5000, ' ')},
        {"zeros across the window", Bytes(70000, 0)},
        {"random bytes", Random(50000, 1, 256)},
        {"few symbols", Random(100000, 2, 3)},
        {"window edge 4095", Random(4095, 3, 16)},
        {"window edge 4096", Random(4096, 4, 16)},
        {"window edge 4097", Random(4097, 5, 16)},
    };
    std::string text;
    while (text.size() < 60000) text += "The quick brown fox jumps over the lazy dog. ";
    inputs.push_back({"text", Str(text)});
    for (const auto &input : inputs) {
        SCOPED_TRACE(input.first);
        const Bytes packed = Compress(input.second);
        ASSERT_GE(packed.size(), 14u);
        EXPECT_LE(packed.size(), SzddCompressBound(input.second.size()));
        Bytes out;
        EXPECT_EQ(Expand(packed, out), SZDD_OK);
        EXPECT_EQ(out, input.second);
    }
}

TEST(SzddCompress, ReachesIntoTheInitialSpaces)
{
    // 18 spaces are one reference into the window as it starts.
    EXPECT_EQ(Compress(Bytes(18, ' ')).size(), 14u + 1 + 2);
}

// ----- independent peers -----

std::string TempDir()
{
    char tmpl[] = "/tmp/szddpeerXXXXXX";
    return mkdtemp(tmpl);
}


std::vector<std::string> PeerFiles()
{
    std::vector<std::string> files;
    for (const char *f : {"/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/comdlg32.dll",
                          "/usr/lib/x86_64-linux-gnu/wine/i386-windows/user32.dll",
                          "/usr/share/common-licenses/GPL-3"})
        if (std::ifstream(f)) files.push_back(f);
    return files;
}

TEST(SzddPeers, AgreeWithMscompressAndMsexpandBothWays)
{
    if (std::system("command -v mscompress >/dev/null && command -v msexpand >/dev/null") != 0)
        GTEST_SKIP() << "mscompress/msexpand not installed";
    const std::vector<std::string> files = PeerFiles();
    ASSERT_FALSE(files.empty());
    const std::string dir = TempDir();
    for (const std::string &file : files) {
        SCOPED_TRACE(file);
        const Bytes original = ReadFile(file);
        // Theirs compressed, ours expanded.
        WriteFile(dir + "/in.bin", original);
        std::remove((dir + "/in.bin_").c_str());  // mscompress will not overwrite
        ASSERT_EQ(std::system(("cd " + dir + " && mscompress in.bin >/dev/null 2>&1").c_str()), 0);
        const Bytes theirs = ReadFile(dir + "/in.bin_");
        Bytes out;
        EXPECT_EQ(Expand(theirs, out), SZDD_OK);
        EXPECT_EQ(out, original);
        // Ours compressed, theirs expanded; and never larger than theirs.
        const Bytes ours = Compress(original);
        EXPECT_LE(ours.size(), theirs.size());
        WriteFile(dir + "/ours.bi_", ours);
        ASSERT_EQ(std::system(("msexpand < " + dir + "/ours.bi_ > " + dir + "/ours.out 2>/dev/null").c_str()), 0);
        EXPECT_EQ(ReadFile(dir + "/ours.out"), original);
    }
    std::system(("rm -rf " + dir).c_str());
}

} // namespace
