#include "text.h"

#include <windows.h>

int CopyText(char *field, size_t fieldSize, const char *text)
{
    const size_t len = (size_t)lstrlenA(text);
    if (fieldSize == 0 || len >= fieldSize) return 0;
    lstrcpyA(field, text);
    return 1;
}

int AppendText(char *field, size_t fieldSize, const char *text)
{
    const size_t have = (size_t)lstrlenA(field);
    const size_t add = (size_t)lstrlenA(text);
    if (have >= fieldSize || add >= fieldSize - have) return 0;
    lstrcatA(field, text);
    return 1;
}

void CopyTextCut(char *field, size_t fieldSize, const char *text)
{
    if (fieldSize == 0) return;
    lstrcpynA(field, text, (int)fieldSize);
}
