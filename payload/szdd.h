// SZDD (mode A) codec: the LZSS coding of the classic COMPRESS/EXPAND tools
// and of the system LZ expansion service. Portable: no Windows headers, so it
// builds natively for unit tests, fuzzing and the szdd command-line tool.
#ifndef QD_PAYLOAD_SZDD_H
#define QD_PAYLOAD_SZDD_H

#include <stddef.h>
#include <stdint.h>

enum {
    SZDD_HEADER_SIZE = 14,
    SZDD_WINDOW_SIZE = 4096,
    SZDD_START_POS = 4096 - 16,
    SZDD_MIN_MATCH = 3,
    SZDD_MAX_MATCH = 18
};

enum SzddStatus {
    SZDD_OK = 0,
    SZDD_ERR_SHORT_HEADER,     // fewer than 14 bytes
    SZDD_ERR_SIGNATURE,        // not "SZDD" 88 F0 27 33
    SZDD_ERR_MODE,             // a mode other than 'A'
    SZDD_ERR_TRUNCATED,        // data ends inside a reference, or before the header's length
    SZDD_ERR_TOO_LONG          // data expands to more than the header's length
};

// One line of English for a status, for tools and logs.
const char *SzddStatusText(int status);

// Checks signature and mode and yields the expanded length from the header.
int SzddReadHeader(const unsigned char *in, size_t inLen, uint32_t *expandedLength);

// Expands the compressed data that follows the header into out, which holds
// outCap bytes. *outLen receives the count produced. Fails with
// SZDD_ERR_TOO_LONG rather than write past outCap, and with
// SZDD_ERR_TRUNCATED when the data ends between the two bytes of a reference.
// Bytes of out beyond *outLen may be overwritten (wide copies).
int SzddExpandData(const unsigned char *data, size_t len,
                   unsigned char *out, size_t outCap, size_t *outLen);

// Expands a whole SZDD file and insists that the result has exactly the
// header's length. out must hold the header's length.
int SzddExpand(const unsigned char *in, size_t inLen,
               unsigned char *out, size_t outCap, size_t *outLen);

// Largest possible compressed size for n input bytes, header included.
size_t SzddCompressBound(size_t n);

// Compresses n bytes into a whole SZDD file (header included) at out, which
// must hold SzddCompressBound(n) bytes. lastChar is the header's byte 9
// (the replaced last character of the file name, 0 for none).
// Returns the compressed size, or 0 when working memory cannot be had.
size_t SzddCompress(const unsigned char *in, size_t n, unsigned char *out,
                    unsigned char lastChar);

#endif
