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

// Any path of the build host (the source tree, a built file).
inline std::filesystem::path HostPath(std::string path) {
#ifdef _WIN32
    if (!path.empty() && path.front() == '/') path.insert(0, "Z:");
#endif
    return std::filesystem::path(path).make_preferred();
}

inline std::filesystem::path SourceTreePath(std::string_view relative) {
    return HostPath(std::string(GRABWELL_SOURCE_DIR) + "/" + std::string(relative));
}

// The file's bytes; empty when it cannot be read.
inline std::string ReadSourceFile(std::string_view relative) {
    std::ifstream in(SourceTreePath(relative), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace grabwell::testing
