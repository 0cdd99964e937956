// Fuzz target: whatever the compressor makes, the expander gives back.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "payload/szdd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<unsigned char> packed(SzddCompressBound(size));
    const size_t n = SzddCompress(data, size, packed.data(), 0);
    if (n == 0 || n > packed.size()) abort();
    std::vector<unsigned char> out(size + 1);
    size_t got = 0;
    if (SzddExpand(packed.data(), n, out.data(), size, &got) != SZDD_OK) abort();
    if (got != size || (size && std::memcmp(out.data(), data, size) != 0)) abort();
    return 0;
}
