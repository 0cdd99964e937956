// Fuzz target: the expander on any input never reads or writes out of
// bounds, and succeeds only with exactly the header's length.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "payload/szdd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    uint32_t length = 0;
    if (SzddReadHeader(data, size, &length) == SZDD_OK) {
        if (length > (1u << 22)) length = 1u << 22;
        std::vector<unsigned char> out(length);
        size_t got = 0;
        if (SzddExpand(data, size, out.data(), out.size(), &got) == SZDD_OK && got != length) abort();
    }
    // Raw data into a small buffer: must stop at its end.
    unsigned char small[64];
    size_t got = 0;
    SzddExpandData(data, size, small, sizeof small, &got);
    if (got > sizeof small) abort();
    return 0;
}
