#pragma once
// Files of the source tree, for tests of what ships (the language files).
// Both test programs are built with GRABWELL_SOURCE_DIR; under Wine the
// build host's root is drive Z:.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace grabwell::testing {

inline std::filesystem::path SourceTreePath(std::string_view relative) {
    std::string path = std::string(GRABWELL_SOURCE_DIR) + "/" + std::string(relative);
#ifdef _WIN32
    if (!path.empty() && path.front() == '/') path.insert(0, "Z:");
#endif
    return std::filesystem::path(path).make_preferred();
}

// The file's bytes; empty when it cannot be read.
inline std::string ReadSourceFile(std::string_view relative) {
    std::ifstream in(SourceTreePath(relative), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace grabwell::testing
