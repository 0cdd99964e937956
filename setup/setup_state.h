// The program-wide record of the walk over the browser slots.
#ifndef QD_SETUP_STATE_H
#define QD_SETUP_STATE_H

#include <windows.h>

enum BrowserSlot { SLOT_NAVIGATOR = 0, SLOT_EXPLORER = 1, SLOT_WEBSURFER = 2, SLOT_OTHER = 3 };

// Fixed field sizes: paths hold 511 characters and the terminator.
enum {
    PATH_FIELD_SIZE = 512,
    FILE_NAME_FIELD_SIZE = 12,
    VERSION_FIELD_SIZE = 100,
    NO_MESSAGE_LINE = 0xFFFF
};

struct SetupState {
    LONG browserSlot;
    WORD messageIds[3];
    char browserDir[PATH_FIELD_SIZE];
    char browserExe[PATH_FIELD_SIZE];
    char destDir[PATH_FIELD_SIZE];
    LONG otherBrowserMode;
    LONG overwriteConfirmed;
    HINSTANCE instance;
};

extern SetupState setupState;

#endif
