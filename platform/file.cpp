#include "platform/file.h"

#include <algorithm>
#include <atomic>
#include <new>

namespace grabwell::platform {

namespace {

// One ReadFile or WriteFile moves at most this much: their counts are DWORDs.
constexpr std::size_t kChunkBytes = 1u << 30;

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path,
                                                       std::uint64_t maxBytes) {
    const unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || ::GetFileType(file.get()) != FILE_TYPE_DISK ||
        !::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto want = static_cast<DWORD>(std::min(bytes.size() - done, kChunkBytes));
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0) {
            return std::nullopt;  // read error, or the file shrank under us
        }
        done += got;
    }
    return bytes;
}

bool IsReadOnlyFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

ReplacementFile::ReplacementFile(std::wstring target) : target_(std::move(target)) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 16 && !file_; ++attempt) {
        path_ = target_ + L".~" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(counter++) + L".tmp";
        file_.reset(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file_ && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    created_ = static_cast<bool>(file_);
}

ReplacementFile::~ReplacementFile() {
    file_.reset();
    if (created_ && !moved_) ::DeleteFileW(path_.c_str());
}

bool ReplacementFile::Write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const BYTE*>(data);
    while (size > 0) {
        const auto want = static_cast<DWORD>(std::min(size, kChunkBytes));
        DWORD wrote = 0;
        if (!::WriteFile(file_.get(), bytes, want, &wrote, nullptr) || wrote != want) return false;
        bytes += wrote;
        size -= wrote;
    }
    return true;
}

bool ReplacementFile::Commit() {
    if (!file_ || !::FlushFileBuffers(file_.get())) return false;
    file_.reset();
    if (IsReadOnlyFile(target_)) return false;
    moved_ = ::MoveFileExW(path_.c_str(), target_.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    return moved_;
}

}  // namespace grabwell::platform
