// File operations shared by the plug-in copy and the class archive: the
// existence test and deletion by name, and a replacement that never loses
// the file that was there before.
#ifndef QD_INSTALL_FILE_OPS_H
#define QD_INSTALL_FILE_OPS_H

#include <windows.h>

// 1 when a file at path can be opened (OpenFile with OF_EXIST). A file that
// cannot be opened counts as absent, as OpenFile has it.
int FileExists(const char *path);

// Deletes a file by name; the outcome is not reported.
void DeleteFileByName(const char *path);

// Names and creates an empty scratch file in the folder of destPath, so that
// the new content can be written there and put in place by a rename on the
// same volume. 1 on success, with the name in tempPath (512 bytes).
int MakeScratchBeside(const char *destPath, char *tempPath);

// Puts the finished scratch file in place of destPath. A file already at
// destPath is moved aside first and moved back if the swap fails, so after
// any failure destPath holds what it held before, and the scratch file is
// removed. A read-only destination is refused: it cannot be written, and a
// rename would otherwise slip past that. 1 on success.
int CommitScratch(const char *tempPath, const char *destPath);

#endif
