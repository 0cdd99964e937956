/* Control for the planted-DLL scenario: a program that imports lz32.dll the
 * ordinary way, and so loads a copy planted beside it. */
#include <windows.h>
#include <lzexpand.h>

int main(void)
{
    LZClose(-1);
    return 0;
}
