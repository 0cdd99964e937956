#include "files.h"

#include <windows.h>

#include <cstdio>

void RemoveTree(const std::string &path)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
            else DeleteFileA(child.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
    DeleteFileA(path.c_str());
}

bool WriteFileBytes(const std::string &path, const std::string &bytes)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::string ReadFileBytes(const std::string &path, bool *ok)
{
    std::string data;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (ok) *ok = f != nullptr;
    if (!f) return data;
    char block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0) data.append(block, got);
    std::fclose(f);
    return data;
}

std::string UnixToWine(const std::string &unix)
{
    std::string s = "Z:" + unix;
    for (char &c : s)
        if (c == '/') c = '\\';
    return s;
}

void ClearBrowserKeys()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Netscape");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "InternetExplorer.Application");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "CLSID\\{0002DF01-0000-0000-C000-000000000046}");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "CLSID\\{QD-TEST}");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Netmanage");
}
