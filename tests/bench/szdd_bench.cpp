// Benchmark of the SZDD codec against its peers, on the same files in the
// same run:
//   - size and compression time against mscompress (run as a tool, as it
//     is used; its time includes starting the process);
//   - expansion throughput in memory against libmspack's SZDD
//     decompressor (through an in-memory mspack_system), and as a share of
//     memcpy over the same number of bytes;
//   - round trips: ours -> ours, ours -> libmspack, ours -> msexpand,
//     mscompress -> ours, byte for byte.
//
//   szdd_bench RUNS WORKDIR FILE...
#include <mspack.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/byte_files.h"
#include "payload/szdd.h"

namespace {

using Clock = std::chrono::steady_clock;


struct Stats {
    double min, median;
};

template <typename F> Stats Time(int runs, F f)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        t.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::sort(t.begin(), t.end());
    return {t.front(), t[t.size() / 2]};
}

// ----- libmspack over memory -----

struct MemFile {
    unsigned char *data;
    size_t size, capacity, pos;
};

mspack_file *MemOpen(mspack_system *, const char *name, int) { return (mspack_file *)name; }
void MemClose(mspack_file *) {}
int MemRead(mspack_file *f, void *buf, int n)
{
    MemFile *m = (MemFile *)f;
    size_t k = std::min((size_t)n, m->size - m->pos);
    std::memcpy(buf, m->data + m->pos, k);
    m->pos += k;
    return (int)k;
}
int MemWrite(mspack_file *f, void *buf, int n)
{
    MemFile *m = (MemFile *)f;
    if (m->pos + (size_t)n > m->capacity) return -1;
    std::memcpy(m->data + m->pos, buf, (size_t)n);
    m->pos += (size_t)n;
    m->size = std::max(m->size, m->pos);
    return n;
}
int MemSeek(mspack_file *f, off_t off, int mode)
{
    MemFile *m = (MemFile *)f;
    off_t base = mode == MSPACK_SYS_SEEK_START ? 0 : mode == MSPACK_SYS_SEEK_CUR ? (off_t)m->pos : (off_t)m->size;
    if (base + off < 0 || (size_t)(base + off) > m->size) return -1;
    m->pos = (size_t)(base + off);
    return 0;
}
off_t MemTell(mspack_file *f) { return (off_t)((MemFile *)f)->pos; }
void MemMessage(mspack_file *, const char *, ...) {}
void *MemAlloc(mspack_system *, size_t n) { return std::malloc(n); }
void MemFree(void *p) { std::free(p); }
void MemCopy(void *src, void *dst, size_t n) { std::memcpy(dst, src, n); }

mspack_system memSystem = {MemOpen, MemClose, MemRead, MemWrite, MemSeek, MemTell, MemMessage,
                           MemAlloc, MemFree, MemCopy, nullptr};

bool MspackExpand(msszdd_decompressor *d, const Bytes &packed, Bytes &out)
{
    MemFile in = {(unsigned char *)packed.data(), packed.size(), packed.size(), 0};
    MemFile o = {out.data(), 0, out.size(), 0};
    const int rc = d->decompress(d, (const char *)&in, (const char *)&o);
    out.resize(rc == MSPACK_ERR_OK ? o.size : 0);
    return rc == MSPACK_ERR_OK;
}

bool Ours(const Bytes &packed, Bytes &out)
{
    size_t got = 0;
    return SzddExpand(packed.data(), packed.size(), out.data(), out.size(), &got) == SZDD_OK && got == out.size();
}

std::string Quote(const std::string &s) { return "'" + s + "'"; }

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: szdd_bench RUNS WORKDIR FILE...\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    const std::string work = argv[2];
    msszdd_decompressor *mspack = mspack_create_szdd_decompressor(&memSystem);
    if (!mspack) return 1;

    std::printf("| file | bytes | ours / mscompress size | compress time ours / mscompress (min, median) | "
                "expand MB/s ours (min, median) | libmspack MB/s | ours / libmspack | ours / memcpy | round trips |\n");
    std::printf("|---|---:|---:|---|---:|---:|---:|---:|---|\n");
    size_t totalOurs = 0, totalTheirs = 0;
    bool allOk = true;
    for (int i = 3; i < argc; ++i) {
        const std::string path = argv[i];
        const std::string name = path.substr(path.find_last_of('/') + 1);
        const Bytes original = ReadFile(path);

        Bytes ours;
        const Stats oursTime = Time(runs, [&] {
            ours.assign(SzddCompressBound(original.size()), 0);
            ours.resize(SzddCompress(original.data(), original.size(), ours.data(), 0));
        });
        WriteFile(work + "/in.bin", original);
        const Stats theirTime = Time(runs, [&] {
            std::remove((work + "/in.bin_").c_str());
            if (std::system(("cd " + Quote(work) + " && mscompress in.bin >/dev/null 2>&1").c_str()) != 0) std::exit(1);
        });
        const Bytes theirs = ReadFile(work + "/in.bin_");

        Bytes out(original.size());
        const Stats expandOurs = Time(runs * 2, [&] { Ours(ours, out); });
        Bytes out2(original.size() + 1);
        const Stats expandMspack = Time(runs * 2, [&] {
            out2.resize(original.size() + 1);
            MspackExpand(mspack, ours, out2);
        });
        Bytes copy(original.size());
        const Stats memcpyTime = Time(runs * 2, [&] { std::memcpy(copy.data(), original.data(), original.size()); });

        // Round trips, byte for byte.
        bool ok = Ours(ours, out) && out == original;
        out2.resize(original.size() + 1);
        ok = ok && MspackExpand(mspack, ours, out2) && out2 == original;
        WriteFile(work + "/ours.bi_", ours);
        ok = ok && std::system(("msexpand < " + Quote(work + "/ours.bi_") + " > " + Quote(work + "/ours.out") +
                                " 2>/dev/null").c_str()) == 0 &&
             ReadFile(work + "/ours.out") == original;
        Bytes fromTheirs(original.size());
        ok = ok && Ours(theirs, fromTheirs) && fromTheirs == original;
        allOk = allOk && ok && ours.size() <= theirs.size();

        const double mb = original.size() / 1e6;
        std::printf("| %s | %zu | %zu / %zu (%+.2f %%) | %.3f s / %.3f s, %.3f s / %.3f s (%.1fx) | %.0f, %.0f | %.0f | "
                    "%.2fx | %.0f %% | %s |\n",
                    name.c_str(), original.size(), ours.size(), theirs.size(),
                    100.0 * ((double)ours.size() / theirs.size() - 1), oursTime.min, theirTime.min,
                    oursTime.median, theirTime.median, theirTime.median / oursTime.median,
                    mb / expandOurs.min, mb / expandOurs.median, mb / expandMspack.median,
                    expandMspack.median / expandOurs.median, 100.0 * memcpyTime.median / expandOurs.median,
                    ok ? "all byte for byte" : "FAILED");
        std::fflush(stdout);
        totalOurs += ours.size();
        totalTheirs += theirs.size();
    }
    std::printf("\nTotal: ours %zu bytes, mscompress %zu bytes (%+.2f %%)\n", totalOurs, totalTheirs,
                100.0 * ((double)totalOurs / totalTheirs - 1));
    mspack_destroy_szdd_decompressor(mspack);
    return allOk ? 0 : 1;
}
