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
// input). Every reference costs the same number of bits whatever its
// distance, so only the longest length at each position matters, and the
// finder must find it exactly for the parse below to be optimal.
//
// Hash chains are kept on prefixes of 3, 4, 6, 10 and 18 bytes. The chains
// are walked from the longest prefix down: every candidate that matches at
// least k bytes shares the k-byte prefix, so once a level's chain yields a
// match of its own length or more, no shorter level can do better. The long,
// crowded chains of short prefixes are walked only where no long match
// exists.
namespace {

const unsigned kHashBits = 16;
const int kLevels = 5;
const unsigned kLevelLength[kLevels] = {3, 4, 6, 10, 18};
const size_t kPad = 32;  // zero bytes after the data, for wide loads

inline uint64_t Load64(const unsigned char *p)
{
    uint64_t v;
    memcpy(&v, p, 8);
    return v;
}

inline unsigned HashPrefix(const unsigned char *p, unsigned length)
{
    uint64_t h;
    if (length <= 8) {
        h = Load64(p) & (~(uint64_t)0 >> (64 - 8 * length));
    } else {
        const uint64_t a = Load64(p);
        const uint64_t b = Load64(p + 8);
        const uint64_t c = length > 16 ? Load64(p + 16) & 0xFFFF : 0;
        const uint64_t tail = length >= 16 ? b : b & (~(uint64_t)0 >> (64 - 8 * (length - 8)));
        h = a ^ (tail * 0x9E3779B97F4A7C15ull) ^ (c * 0xC2B2AE3D27D4EB4Full);
    }
    h *= 0x9E3779B97F4A7C15ull;
    return (unsigned)(h >> (64 - kHashBits));
}

inline size_t MatchLength(const unsigned char *a, const unsigned char *b, size_t limit)
{
    // Both sides have kPad readable bytes beyond limit's reach.
    const uint64_t x = Load64(a) ^ Load64(b);
    if (x != 0) {
        const size_t n = (size_t)__builtin_ctzll(x) / 8;
        return n < limit ? n : limit;
    }
    size_t n = 8;
    while (n < limit && a[n] == b[n]) ++n;
    return n < limit ? n : limit;
}

struct MatchFinder {
    int32_t *head[kLevels];
    int32_t *prev[kLevels];

    bool Init()
    {
        for (int l = 0; l < kLevels; ++l) {
            head[l] = (int32_t *)malloc(sizeof(int32_t) << kHashBits);
            prev[l] = (int32_t *)malloc(sizeof(int32_t) * SZDD_WINDOW_SIZE);
            if (!head[l] || !prev[l]) return false;
            for (size_t h = 0; h < ((size_t)1 << kHashBits); ++h) head[l][h] = -1;
        }
        return true;
    }
    void Free()
    {
        for (int l = 0; l < kLevels; ++l) {
            free(head[l]);
            free(prev[l]);
        }
    }
    void Insert(const unsigned char *v, size_t vp, size_t available)
    {
        for (int l = 0; l < kLevels && kLevelLength[l] <= available; ++l) {
            const unsigned h = HashPrefix(v + vp, kLevelLength[l]);
            prev[l][vp & (SZDD_WINDOW_SIZE - 1)] = head[l][h];
            head[l][h] = (int32_t)vp;
        }
    }
    // The longest match for position vp, up to maxLen bytes.
    size_t Find(const unsigned char *v, size_t vp, size_t maxLen, size_t *source) const
    {
        const unsigned char *cur = v + vp;
        const int32_t lowest = (int32_t)(vp - SZDD_WINDOW_SIZE);
        size_t best = 0;
        for (int l = kLevels - 1; l >= 0; --l) {
            const unsigned length = kLevelLength[l];
            if (length > maxLen) continue;
            int32_t c = head[l][HashPrefix(cur, length)];
            while (c >= lowest) {
                const unsigned char *cand = v + c;
                if (best < length || cand[best] == cur[best]) {
                    const size_t m = MatchLength(cand, cur, maxLen);
                    if (m > best) {
                        best = m;
                        *source = (size_t)c;
                        if (m == maxLen) return best;
                    }
                }
                const int32_t next = prev[l][c & (SZDD_WINDOW_SIZE - 1)];
                if (next >= c) break;
                c = next;
            }
            if (best >= length) return best;
        }
        return best;
    }
};

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
    unsigned char *v = (unsigned char *)malloc(vn + kPad);
    unsigned char *bestLen = (unsigned char *)malloc(n);
    uint16_t *bestPos = (uint16_t *)malloc(n * sizeof(uint16_t));
    uint32_t *cost = (uint32_t *)malloc((n + 1) * sizeof(uint32_t));
    MatchFinder finder;
    const bool finderReady = finder.Init();
    size_t result = 0;
    if (!v || !bestLen || !bestPos || !cost || !finderReady) goto cleanup;

    memset(v, ' ', SZDD_WINDOW_SIZE);
    memcpy(v + SZDD_WINDOW_SIZE, in, n);
    memset(v + vn, 0, kPad);

    {
        // Seed the chains with the window's initial spaces.
        for (size_t vp = 0; vp < SZDD_WINDOW_SIZE; ++vp) finder.Insert(v, vp, vn - vp);

        for (size_t i = 0; i < n; ++i) {
            const size_t vp = SZDD_WINDOW_SIZE + i;
            size_t maxLen = n - i;
            if (maxLen > SZDD_MAX_MATCH) maxLen = SZDD_MAX_MATCH;
            size_t best = 0, bestSrc = 0;
            if (maxLen >= SZDD_MIN_MATCH) best = finder.Find(v, vp, maxLen, &bestSrc);
            finder.Insert(v, vp, n - i);
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
    finder.Free();
    return result;
}
