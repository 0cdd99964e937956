// The message boxes of the setup. None has an owner window except where a
// caller passes one.
#ifndef QD_SETUP_MESSAGES_H
#define QD_SETUP_MESSAGES_H

#include <windows.h>

// A failure: caption "Error", OK only.
void ShowError(const char *text);

// A notice: caption "Setup", OK only.
void ShowNotice(const char *text);

// A question with caption "Setup" and the buttons Yes and No; extraStyle adds
// the icon and default button. 1 only for Yes.
int AskYesNo(const char *text, UINT extraStyle);

#endif
