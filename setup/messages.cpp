#include "messages.h"

void ShowError(const char *text)
{
    MessageBoxA(NULL, text, "Error", MB_OK);
}

void ShowNotice(const char *text)
{
    MessageBoxA(NULL, text, "Setup", MB_OK);
}

int AskYesNo(const char *text, UINT extraStyle)
{
    return MessageBoxA(NULL, text, "Setup", MB_YESNO | extraStyle) == IDYES;
}
