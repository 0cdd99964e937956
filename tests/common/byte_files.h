// Whole files as byte vectors, for the native tests and the benchmark.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline Bytes ReadFile(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string &path, const Bytes &b)
{
    std::ofstream f(path, std::ios::binary);
    f.write((const char *)b.data(), (std::streamsize)b.size());
}
