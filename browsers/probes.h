// Finding installed browsers through their registry entries, and the
// directory test that both the probes and the plugins folder use.
#ifndef QD_BROWSERS_PROBES_H
#define QD_BROWSERS_PROBES_H

// Each probe writes the browser's directory into out (512 bytes) and answers
// its length, or 0 when the browser is not found; it never shows a message.
short FindNavigatorDir(char *out);
short FindExplorerDir(char *out);
short FindWebSurferDir(char *out);

// Makes path the process's working directory: 0 on success, -1 on failure.
int ChangeDirectory(const char *path);

// Lowercases A to Z in place, whatever the locale; returns text.
char *LowercaseAscii(char *text);

#endif
