#include "platform/file.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>
#include <new>

namespace grabwell::platform {

namespace {

// One ReadFile or WriteFile moves at most this much: their counts are DWORDs.
constexpr std::size_t kChunkBytes = 1u << 30;

std::wstring Hex(unsigned value) {
    wchar_t text[16] = {};
    std::swprintf(text, std::size(text), L"%x", value);
    return text;
}

// A name in the target's folder that is never longer than the target's own
// name, so a target path that fits the path limit has a temporary that fits
// too. Only `attempt` varies the short form; CREATE_NEW settles clashes.
std::wstring TempPathBeside(const std::wstring& target, unsigned attempt) {
    const std::size_t slash = target.find_last_of(L"\\/:");
    const std::size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    const std::size_t room = target.size() - nameStart;
    std::wstring name = L"~" + Hex(::GetCurrentProcessId()) + L"-" + Hex(attempt) + L".tmp";
    if (name.size() > room) {
        name = L"~" + Hex(attempt);
        if (name.size() > room) name.erase(0, name.size() - room);
    }
    return target.substr(0, nameStart) + name;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

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

bool IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsReadOnlyFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

ReplacementFile::ReplacementFile(std::wstring target) : target_(std::move(target)) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 16 && !file_; ++attempt) {
        path_ = TempPathBeside(target_, counter++);
        if (SameName(path_, target_)) continue;
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
