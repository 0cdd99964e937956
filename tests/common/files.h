// Files, folders and registry keys: helpers shared by the Wine tests and
// the e2e driver.
#pragma once

#include <string>

void RemoveTree(const std::string &path);
bool WriteFileBytes(const std::string &path, const std::string &bytes);
std::string ReadFileBytes(const std::string &path, bool *ok = nullptr);
// A build folder's Unix path as Wine reaches it, through drive Z:.
std::string UnixToWine(const std::string &unix);

// Removes the registry keys the setup reads to find browsers (Wine's own
// registration of its Internet Explorer and the tests' class id included),
// so that no browser is registered.
void ClearBrowserKeys();
