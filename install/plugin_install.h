// Putting the plug-in library into a browser's plugins folder.
#ifndef QD_INSTALL_PLUGIN_INSTALL_H
#define QD_INSTALL_PLUGIN_INSTALL_H

#include <stddef.h>

// Appends "\plugins" to directory (a field of fieldSize bytes) and makes
// sure that folder exists. 1 on success; 0 for an empty directory (silent)
// or a folder that cannot be made (reported).
int PreparePluginsDir(char *directory, size_t fieldSize);

// Decides whether the file at destPath may be replaced by srcPath: only a
// file of the product, and a newer one only when the user agrees. 1 to go on
// (overwriteConfirmed set when a file is to be replaced); 0 when refused.
int CheckExistingPlugin(const char *srcPath, const char *destPath);

// Copies srcPath to destPath in 10000-byte blocks. The copy is written
// beside the destination and put in place only when complete, so a failure
// leaves any earlier file untouched. 1 on success; 0 without a message.
int CopyPluginFile(const char *srcPath, const char *destPath);

#endif
