// Scratch folders, files and registry keys for the Wine tests. Every test
// makes its own and removes them again.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/files.h"
#include "common/window_reader.h"

std::ostream &operator<<(std::ostream &os, const MessageBoxView &box);

// A fresh, empty folder under the Wine temporary folder, removed afterwards.
class ScratchDir {
public:
    explicit ScratchDir(const std::string &name);
    ~ScratchDir();
    const std::string &path() const { return path_; }
    std::string operator/(const std::string &rel) const { return path_ + "\\" + rel; }

private:
    std::string path_;
};

bool FileThere(const std::string &path);
bool DirThere(const std::string &path);
std::string FixturePath(const std::string &name);  // a built fixture image
std::string PayloadPath(const std::string &name);  // a build product: NpQDK32.dll, QDPlugin.zip
std::string CurrentDir();

// Registry values written for one test and removed at its end.
class RegistryScope {
public:
    RegistryScope();
    ~RegistryScope();
    void SetString(HKEY root, const std::string &key, const std::string &name, const std::string &value,
                   DWORD type = REG_SZ);
    void SetBinary(HKEY root, const std::string &key, const std::string &name, const std::string &bytes,
                   DWORD type);
};
