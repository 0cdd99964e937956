// SZDD (mode A) codec. The window of the format is 4096 bytes, filled with
// spaces at the start, written from position 4080 on; a reference names a
// window position and a length of 3 to 18.
//
// The expander never keeps a window: every window position that has been
// written still exists in the output, so a reference is turned into a
// distance back into the output (positions never written read as spaces).
// The compressor models the window the same way, as 4096 spaces followed by
// the input, which lets it reach into the initial spaces like any other bytes.
#include "szdd.h"

#include <stdlib.h>
#include <string.h>

static const unsigned char kSignature[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};

const char *SzddStatusText(int status)
{
    switch (status) {
    case SZDD_OK: return "ok";
    case SZDD_ERR_SHORT_HEADER: return "file is shorter than an SZDD header";
    case SZDD_ERR_SIGNATURE: return "no SZDD signature";
    case SZDD_ERR_MODE: return "SZDD compression mode is not A";
    case SZDD_ERR_TRUNCATED: return "compressed data ends early (truncated)";
    case SZDD_ERR_TOO_LONG: return "data expands beyond the length in the header";
    }
    return "unknown error";
}

int SzddReadHeader(const unsigned char *in, size_t inLen, uint32_t *expandedLength)
{
    if (inLen < SZDD_HEADER_SIZE) return SZDD_ERR_SHORT_HEADER;
    if (memcmp(in, kSignature, sizeof kSignature) != 0) return SZDD_ERR_SIGNATURE;
    if (in[8] != 'A') return SZDD_ERR_MODE;
    *expandedLength = (uint32_t)in[10] | ((uint32_t)in[11] << 8) |
                      ((uint32_t)in[12] << 16) | ((uint32_t)in[13] << 24);
    return SZDD_OK;
}

int SzddExpandData(const unsigned char *data, size_t len,
                   unsigned char *out, size_t outCap, size_t *outLen)
{
    const unsigned char *ip = data;
    const unsigned char *const end = data + len;
    size_t p = 0;
    int status = SZDD_OK;

    while (ip < end) {
        unsigned control = *ip++;
        for (int item = 0; item < 8 && ip < end; ++item, control >>= 1) {
            if (control & 1) {
                if (p == outCap) { status = SZDD_ERR_TOO_LONG; goto done; }
                out[p++] = *ip++;
                continue;
            }
            if (end - ip < 2) { status = SZDD_ERR_TRUNCATED; goto done; }
            const unsigned pos = ip[0] | ((unsigned)(ip[1] & 0xF0) << 4);
            const size_t n = (size_t)(ip[1] & 0x0F) + SZDD_MIN_MATCH;
            ip += 2;
            if (n > outCap - p) { status = SZDD_ERR_TOO_LONG; goto done; }

            // Distance from the write position back to the referenced byte,
            // 1 to 4096; the slot about to be written holds the byte 4096 back.
            size_t dist = (p + SZDD_START_POS + SZDD_WINDOW_SIZE - pos) & (SZDD_WINDOW_SIZE - 1);
            if (dist == 0) dist = SZDD_WINDOW_SIZE;
            unsigned char *dst = out + p;

            if (dist > p) {
                // Part of the reference lies in slots no output has reached.
                size_t spaces = dist - p;
                if (spaces > n) spaces = n;
                memset(dst, ' ', spaces);
                for (size_t k = spaces; k < n; ++k) dst[k] = out[p + k - dist];
            } else if (dist >= SZDD_MAX_MATCH && outCap - p >= SZDD_MAX_MATCH) {
                // Source and destination cannot overlap: one fixed-size copy.
                memcpy(dst, dst - dist, 16);
                memcpy(dst + 16, dst - dist + 16, 2);
            } else if (dist >= n) {
                memcpy(dst, dst - dist, n);
            } else if (dist == 1) {
                memset(dst, dst[-1], n);
            } else {
                // Overlap: the reference repeats bytes it is producing itself.
                const unsigned char *src = dst - dist;
                for (size_t k = 0; k < n; ++k) dst[k] = src[k];
            }
            p += n;
        }
    }
done:
    *outLen = p;
    return status;
}

int SzddExpand(const unsigned char *in, size_t inLen,
               unsigned char *out, size_t outCap, size_t *outLen)
{
    uint32_t expected = 0;
    *outLen = 0;
    int status = SzddReadHeader(in, inLen, &expected);
    if (status != SZDD_OK) return status;
    if (outCap < expected) return SZDD_ERR_TOO_LONG;
    status = SzddExpandData(in + SZDD_HEADER_SIZE, inLen - SZDD_HEADER_SIZE,
                            out, expected, outLen);
    if (status == SZDD_OK && *outLen != expected) status = SZDD_ERR_TRUNCATED;
    return status;
}

size_t SzddCompressBound(size_t n)
{
    return SZDD_HEADER_SIZE + n + (n + 7) / 8;
}

// Longest match finder over the virtual window (4096 spaces, then the
// input). Hash chains on three bytes, walked to the end of the window or until
// a match of the greatest length is found: every reference costs the same
// number of bits whatever its distance, so only the longest length matters
// and the parse below stays exact.
namespace {

const unsigned kHashBits = 16;

inline unsigned Hash3(const unsigned char *p)
{
    uint32_t key = (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16);
    return (key * 2654435761u) >> (32 - kHashBits);
}

} // namespace

size_t SzddCompress(const unsigned char *in, size_t n, unsigned char *out,
                    unsigned char lastChar)
{
    memcpy(out, kSignature, sizeof kSignature);
    out[8] = 'A';
    out[9] = lastChar;
    const uint32_t n32 = (uint32_t)n;
    out[10] = (unsigned char)n32;
    out[11] = (unsigned char)(n32 >> 8);
    out[12] = (unsigned char)(n32 >> 16);
    out[13] = (unsigned char)(n32 >> 24);
    if (n == 0) return SZDD_HEADER_SIZE;

    const size_t vn = SZDD_WINDOW_SIZE + n;
    unsigned char *v = (unsigned char *)malloc(vn);
    unsigned char *bestLen = (unsigned char *)malloc(n);
    uint16_t *bestPos = (uint16_t *)malloc(n * sizeof(uint16_t));
    uint32_t *cost = (uint32_t *)malloc((n + 1) * sizeof(uint32_t));
    int32_t *head = (int32_t *)malloc(sizeof(int32_t) << kHashBits);
    int32_t *prev = (int32_t *)malloc(sizeof(int32_t) * SZDD_WINDOW_SIZE);
    size_t result = 0;
    if (!v || !bestLen || !bestPos || !cost || !head || !prev) goto cleanup;

    memset(v, ' ', SZDD_WINDOW_SIZE);
    memcpy(v + SZDD_WINDOW_SIZE, in, n);
    for (size_t h = 0; h < ((size_t)1 << kHashBits); ++h) head[h] = -1;

    {
        // Seed the chains with the window's initial spaces.
        for (size_t vp = 0; vp < SZDD_WINDOW_SIZE && vp + 3 <= vn; ++vp) {
            const unsigned h = Hash3(v + vp);
            prev[vp & (SZDD_WINDOW_SIZE - 1)] = head[h];
            head[h] = (int32_t)vp;
        }

        for (size_t i = 0; i < n; ++i) {
            const size_t vp = SZDD_WINDOW_SIZE + i;
            size_t maxLen = n - i;
            if (maxLen > SZDD_MAX_MATCH) maxLen = SZDD_MAX_MATCH;
            size_t best = 0, bestSrc = 0;
            if (maxLen >= SZDD_MIN_MATCH) {
                const unsigned h = Hash3(v + vp);
                const unsigned char *cur = v + vp;
                const int32_t lowest = (int32_t)(vp - SZDD_WINDOW_SIZE);
                int32_t c = head[h];
                while (c >= lowest) {
                    const unsigned char *cand = v + c;
                    if (cand[best] == cur[best] || best < SZDD_MIN_MATCH) {
                        size_t l = 0;
                        while (l < maxLen && cand[l] == cur[l]) ++l;
                        if (l > best) {
                            best = l;
                            bestSrc = (size_t)c;
                            if (l == maxLen) break;
                        }
                    }
                    const int32_t next = prev[c & (SZDD_WINDOW_SIZE - 1)];
                    if (next >= c) break;
                    c = next;
                }
                prev[vp & (SZDD_WINDOW_SIZE - 1)] = head[h];
                head[h] = (int32_t)vp;
            }
            bestLen[i] = (unsigned char)(best >= SZDD_MIN_MATCH ? best : 0);
            bestPos[i] = (uint16_t)((bestSrc - 16) & (SZDD_WINDOW_SIZE - 1));
        }

        // Exact parse: fewest bits from each position to the end. A literal
        // is a flag bit and a byte, a reference a flag bit and two bytes.
        cost[n] = 0;
        for (size_t i = n; i-- > 0;) {
            uint32_t c = cost[i + 1] + 9;
            unsigned choice = 0;
            for (unsigned l = SZDD_MIN_MATCH; l <= bestLen[i]; ++l) {
                const uint32_t cc = cost[i + l] + 17;
                if (cc <= c) { c = cc; choice = l; }
            }
            cost[i] = c;
            bestLen[i] = (unsigned char)choice;
        }

        unsigned char *op = out + SZDD_HEADER_SIZE;
        unsigned char *control = op++;
        *control = 0;
        int items = 0;
        for (size_t i = 0; i < n;) {
            if (items == 8) {
                control = op++;
                *control = 0;
                items = 0;
            }
            const unsigned l = bestLen[i];
            if (l == 0) {
                *control |= (unsigned char)(1u << items);
                *op++ = in[i];
                ++i;
            } else {
                const unsigned pos = bestPos[i];
                *op++ = (unsigned char)(pos & 0xFF);
                *op++ = (unsigned char)(((pos >> 4) & 0xF0) | (l - SZDD_MIN_MATCH));
                i += l;
            }
            ++items;
        }
        result = (size_t)(op - out);
    }

cleanup:
    free(v);
    free(bestLen);
    free(bestPos);
    free(cost);
    free(head);
    free(prev);
    return result;
}
