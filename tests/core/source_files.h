#pragma once
// Reads a file of the source tree as bytes: the data that ships beside the
// program (language files, the help text) and the resource script.
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace grabwell::test {

inline std::string ReadSourceFile(const std::string& relative) {
    std::string path = std::string(GRABWELL_SOURCE_DIR) + "/" + relative;
#ifdef _WIN32
    // Under Wine the build host's root is drive Z:.
    if (!path.empty() && path.front() == '/') {
        for (char& c : path) if (c == '/') c = '\\';
        path = "Z:" + path;
    }
#endif
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace grabwell::test
