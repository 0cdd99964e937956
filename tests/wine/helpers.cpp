#include "helpers.h"

#include <cstdio>

std::ostream &operator<<(std::ostream &os, const MessageBoxView &box)
{
    return os << Describe(box);
}

static std::string TempRoot()
{
    char buffer[MAX_PATH];
    GetTempPathA(sizeof buffer, buffer);
    std::string s = buffer;
    if (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

ScratchDir::ScratchDir(const std::string &name) : path_(TempRoot() + "\\qdtest_" + name)
{
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), NULL);
}

ScratchDir::~ScratchDir()
{
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    if (_strnicmp(cwd, path_.c_str(), path_.size()) == 0) SetCurrentDirectoryA(TempRoot().c_str());
    RemoveTree(path_);
}

bool FileThere(const std::string &path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirThere(const std::string &path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FixturePath(const std::string &name) { return UnixToWine(QD_FIXTURE_DIR) + "\\" + name; }
std::string PayloadPath(const std::string &name) { return UnixToWine(QD_PAYLOAD_DIR) + "\\" + name; }

std::string CurrentDir()
{
    char buffer[1024];
    GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
}

RegistryScope::RegistryScope() { ClearBrowserKeys(); }
RegistryScope::~RegistryScope() { ClearBrowserKeys(); }

void RegistryScope::SetString(HKEY root, const std::string &key, const std::string &name,
                              const std::string &value, DWORD type)
{
    SetBinary(root, key, name, std::string(value.c_str(), value.size() + 1), type);
}

void RegistryScope::SetBinary(HKEY root, const std::string &key, const std::string &name,
                              const std::string &bytes, DWORD type)
{
    HKEY h;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(h, name.empty() ? NULL : name.c_str(), 0, type, (const BYTE *)bytes.data(),
                             (DWORD)bytes.size()),
              ERROR_SUCCESS);
    RegCloseKey(h);
}
