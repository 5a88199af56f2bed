#pragma once
// Files read whole, and files replaced in one step so that a failure part
// way through cannot damage what was there.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/unique_any.h"

namespace grabwell::platform {

// The whole content of a file on disk, read to the end however many reads it
// takes. Nullopt when it cannot be opened, is no disk file (a pipe or a
// device could block or never end), is larger than `maxBytes`, or shrinks
// while it is read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path,
                                                       std::uint64_t maxBytes);

// True when `path` names a file (not a folder) that is there.
bool IsFile(const std::wstring& path);

// Windows refuses to replace a read-only file, but Wine's rename does not
// look at the attribute; the user's say-so has to hold on both.
bool IsReadOnlyFile(const std::wstring& path);

// A new file beside `target` that becomes the target only by a rename in
// Commit(), and is deleted whenever that does not happen.
class ReplacementFile {
public:
    explicit ReplacementFile(std::wstring target);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile();

    explicit operator bool() const noexcept { return static_cast<bool>(file_); }

    bool Write(const void* data, std::size_t size);
    // Flushes and renames over the target. False, leaving the target as it
    // was, when any of that fails or the target is read-only.
    bool Commit();

private:
    std::wstring target_;
    std::wstring path_;
    unique_hfile file_;
    bool created_ = false;
    bool moved_ = false;
};

}  // namespace grabwell::platform
