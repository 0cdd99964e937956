// Bounded text copies into fixed fields: nothing is ever written past a field.
#ifndef QD_SETUP_TEXT_H
#define QD_SETUP_TEXT_H

#include <stddef.h>

// Copies text into a field of fieldSize bytes. Returns 1 when it fit whole;
// otherwise leaves the field unchanged and returns 0.
int CopyText(char *field, size_t fieldSize, const char *text);

// Appends text to the text already in the field; 1 when it fit whole,
// otherwise 0 with the field unchanged.
int AppendText(char *field, size_t fieldSize, const char *text);

// Copies as much of text as fits, always terminating the field.
void CopyTextCut(char *field, size_t fieldSize, const char *text);

#endif
