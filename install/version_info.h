// Reading ProductName and FileVersion from a file's version information.
#ifndef QD_INSTALL_VERSION_INFO_H
#define QD_INSTALL_VERSION_INFO_H

#include <stddef.h>

// Reads both strings under the file's first translation. 1 when both were
// found; 0 otherwise (productOut may already hold the product name when only
// the file version is missing). A value longer than its buffer is cut to fit.
int GetVersionStrings(const char *file, char *productOut, size_t productSize,
                      char *versionOut, size_t versionSize);

#endif
