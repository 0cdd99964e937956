// szdd: compress, expand and verify SZDD (mode A) files with the project's
// own codec. Used at build time to compress the plug-in library.
//   szdd compress IN OUT     write OUT as the SZDD form of IN
//   szdd expand IN OUT       expand IN to OUT; bad input is an error
//   szdd verify SZDD ORIG    check that SZDD expands to exactly ORIG
#include "payload/szdd.h"

#include <cstdio>
#include <cstring>
#include <vector>

static bool ReadAll(const char *path, std::vector<unsigned char> &data)
{
    FILE *f = std::fopen(path, "rb");
    if (!f) return false;
    unsigned char block[65536];
    size_t got;
    data.clear();
    while ((got = std::fread(block, 1, sizeof block, f)) > 0) data.insert(data.end(), block, block + got);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

static bool WriteAll(const char *path, const unsigned char *data, size_t n)
{
    FILE *f = std::fopen(path, "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, n, f) == n;
    return std::fclose(f) == 0 && ok;
}

static int Expand(const std::vector<unsigned char> &in, std::vector<unsigned char> &out, const char *name)
{
    uint32_t expected = 0;
    int status = SzddReadHeader(in.data(), in.size(), &expected);
    if (status == SZDD_OK) {
        out.resize(expected);
        size_t got = 0;
        status = SzddExpand(in.data(), in.size(), out.data(), out.size(), &got);
        if (status != SZDD_OK)
            std::fprintf(stderr, "szdd: %s: %s (%zu of %u bytes)\n", name, SzddStatusText(status), got, expected);
        return status;
    }
    std::fprintf(stderr, "szdd: %s: %s\n", name, SzddStatusText(status));
    return status;
}

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: szdd compress|expand|verify IN OUT\n");
        return 2;
    }
    const char *cmd = argv[1];
    std::vector<unsigned char> in, out;
    if (!ReadAll(argv[2], in)) {
        std::fprintf(stderr, "szdd: cannot read %s\n", argv[2]);
        return 1;
    }
    if (std::strcmp(cmd, "compress") == 0) {
        out.resize(SzddCompressBound(in.size()));
        const size_t n = SzddCompress(in.data(), in.size(), out.data(), 0);
        if (n == 0) {
            std::fprintf(stderr, "szdd: out of memory\n");
            return 1;
        }
        if (!WriteAll(argv[3], out.data(), n)) {
            std::fprintf(stderr, "szdd: cannot write %s\n", argv[3]);
            return 1;
        }
        return 0;
    }
    if (std::strcmp(cmd, "expand") == 0) {
        if (Expand(in, out, argv[2]) != SZDD_OK) return 1;
        if (!WriteAll(argv[3], out.data(), out.size())) {
            std::fprintf(stderr, "szdd: cannot write %s\n", argv[3]);
            return 1;
        }
        return 0;
    }
    if (std::strcmp(cmd, "verify") == 0) {
        std::vector<unsigned char> orig;
        if (!ReadAll(argv[3], orig)) {
            std::fprintf(stderr, "szdd: cannot read %s\n", argv[3]);
            return 1;
        }
        if (Expand(in, out, argv[2]) != SZDD_OK) return 1;
        if (out != orig) {
            std::fprintf(stderr, "szdd: %s does not expand to %s\n", argv[2], argv[3]);
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "szdd: unknown command %s\n", cmd);
    return 2;
}
