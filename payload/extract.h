// Turning the embedded, SZDD-compressed plug-in library into a file.
#ifndef QD_PAYLOAD_EXTRACT_H
#define QD_PAYLOAD_EXTRACT_H

#include <windows.h>

// Expands the resource "myprog" into a temporary file and puts its path into
// out (512 bytes). 1 on success; 0 after a failure, reported except for an
// empty resource, with out untouched.
short ExtractPluginPayload(HINSTANCE instance, char *out);

// Finds, loads and locks the BINARY resource name of the module: 1 with its
// bytes and size (which may be 0; release it with FreeResource); 0 after
// "Can't get resource" or "Can't lock resource" has been shown.
int LockPayload(HINSTANCE instance, const char *name, HGLOBAL *loaded, const void **bytes, DWORD *size);

// Creates or truncates path and writes count bytes in one call. 1 on
// success; 0 after a reported failure.
int WriteBufferToFile(const void *bytes, LONG count, const char *path);

// Expands the SZDD file source into destination. The byte count on success;
// 0 after a reported failure.
LONG ExpandCompressedFile(const char *source, const char *destination);

// Which expander ExpandCompressedFile uses. The system's LZ service is the
// default; the built-in one serves where the service is missing, and builds
// with QD_OWN_EXPANDER use it always.
enum { EXPANDER_SYSTEM = 0, EXPANDER_BUILT_IN = 1 };
void SelectExpander(int expander);

#endif
