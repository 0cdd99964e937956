// The class archive that Navigator 3 and later load beside the plug-in.
#ifndef QD_PAYLOAD_CLASS_ARCHIVE_H
#define QD_PAYLOAD_CLASS_ARCHIVE_H

#include <windows.h>

// 1 when the executable is Netscape Navigator 3 or later.
int IsNavigator3OrLater(const char *browserExe);

// Writes the resource "qdclass" as QDPlugin.zip into destDir. An existing
// archive is replaced silently when overwriteConfirmed is set, otherwise only
// after the user agrees. 1 when written or kept by the user's choice; 0
// after a reported failure.
short InstallClassArchive(HINSTANCE instance, LONG overwriteConfirmed);

#endif
