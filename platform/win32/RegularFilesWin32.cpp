#include "platform/RegularFiles.h"

#include "platform/win32/Win32Api.h"

#include <algorithm>

namespace dotvane::platform {
namespace {

constexpr DWORD kChunk = 64 * 1024;

FileStatus StatusOfError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
                   error == ERROR_BAD_NETPATH || error == ERROR_INVALID_DRIVE
               ? FileStatus::Missing
               : FileStatus::ReadError;
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

FileContents ReadRegularFile(const std::filesystem::path& file, size_t limit)
{
    FileContents result;
    // The system would take a name holding a NUL as the part before it.
    if (file.empty() || file.native().find(L'\0') != std::wstring::npos) return result;
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const FileStatus status = StatusOfError(::GetLastError());
        // Devices and pipes often have no attributes; the open below tells
        // what they are.
        if (status == FileStatus::Missing) {
            result.status = status;
            return result;
        }
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        result.status = FileStatus::NotRegular;
        return result;
    }

    // Others may go on writing, renaming or deleting the file meanwhile. A
    // pipe's server gets no right to act as this program.
    const FileHandle handle(::CreateFileW(file.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | SECURITY_SQOS_PRESENT |
                                                             SECURITY_IDENTIFICATION,
                                          nullptr));
    if (handle.Get() == INVALID_HANDLE_VALUE) {
        result.status = StatusOfError(::GetLastError());
        return result;
    }
    if (::GetFileType(handle.Get()) != FILE_TYPE_DISK) {
        result.status = FileStatus::NotRegular;
        return result;
    }

    // One byte beyond the limit tells a file of exactly the limit from a
    // longer one.
    const size_t wanted = limit + (limit < SIZE_MAX ? 1 : 0);
    std::string& bytes = result.bytes;
    while (bytes.size() < wanted) {
        const size_t start = bytes.size();
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(kChunk, wanted - start));
        bytes.resize(start + chunk);
        DWORD got = 0;
        if (!::ReadFile(handle.Get(), bytes.data() + start, chunk, &got, nullptr)) {
            bytes.clear();
            result.status = FileStatus::ReadError;
            return result;
        }
        bytes.resize(start + got);
        if (got == 0) break;
    }
    if (bytes.size() > limit) {
        bytes.resize(limit);
        result.status = FileStatus::TooLarge;
    } else {
        result.status = FileStatus::Ok;
    }
    return result;
}

}  // namespace dotvane::platform
