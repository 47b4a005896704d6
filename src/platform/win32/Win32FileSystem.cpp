// Win32 platform only.
#include "platform/win32/Win32FileSystem.h"

#include <windows.h>
#undef DeleteFile  // the seam's method, not the platform's macro

#include "platform/win32/Win32Error.h"

namespace brimlow::platform::win32 {
namespace {

// A file handle, closed when it goes out of scope.
class File {
 public:
  explicit File(HANDLE handle) : handle_(handle) {}
  ~File() {
    if (valid()) CloseHandle(handle_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

FileTime ToFileTime(const FILETIME& time) {
  return (static_cast<FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The path without a trailing backslash, except for a drive root ("C:\"),
// which the platform wants with it.
std::wstring WithoutTrailingBackslash(const std::wstring& path) {
  std::wstring trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == L'\\' &&
         !(trimmed.size() == 3 && trimmed[1] == L':'))
    trimmed.pop_back();
  return trimmed;
}

std::wstring LastPart(const std::wstring& path) {
  const auto cut = path.find_last_of(L"\\:");
  return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

bool WriteAll(HANDLE file, const Bytes& content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const DWORD chunk = static_cast<DWORD>(
        content.size() - done < 0x10000000 ? content.size() - done : 0x10000000);
    DWORD written = 0;
    if (!::WriteFile(file, content.data() + done, chunk, &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

// A result for a call that just failed.
Result LastResult() {
  const Result result = ResultFromError(GetLastError());
  return result == Result::kOk ? Result::kFailed : result;
}

}  // namespace

Result Win32FileSystem::Stat(const std::wstring& path, FileEntry* entry) {
  // GetFileAttributesExW reports a link or junction itself, not its target.
  const std::wstring trimmed = WithoutTrailingBackslash(path);
  if (trimmed.find_first_of(L"*?") != std::wstring::npos) return Result::kNotFound;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(trimmed.c_str(), GetFileExInfoStandard, &data)) return LastResult();
  entry->name = LastPart(trimmed);
  entry->attributes = data.dwFileAttributes;
  entry->size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  entry->creation_time = ToFileTime(data.ftCreationTime);
  entry->write_time = ToFileTime(data.ftLastWriteTime);
  return Result::kOk;
}

Result Win32FileSystem::List(const std::wstring& mask, std::vector<FileEntry>* entries) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(mask.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    // The folder is there but nothing matches: an empty listing.
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return Result::kOk;
    const Result result = ResultFromError(error);
    return result == Result::kOk ? Result::kFailed : result;
  }
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    FileEntry entry;
    entry.name = name;
    entry.attributes = found.dwFileAttributes;
    entry.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    entry.creation_time = ToFileTime(found.ftCreationTime);
    entry.write_time = ToFileTime(found.ftLastWriteTime);
    entries->push_back(std::move(entry));
  } while (FindNextFileW(search, &found));
  const DWORD error = GetLastError();
  FindClose(search);
  return error == ERROR_NO_MORE_FILES ? Result::kOk : Result::kFailed;
}

Result Win32FileSystem::ReadFile(const std::wstring& path, Bytes* content) {
  File file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastResult();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return Result::kFailed;
  Bytes read(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < read.size()) {
    DWORD got = 0;
    const DWORD chunk =
        static_cast<DWORD>(read.size() - done < 0x10000000 ? read.size() - done : 0x10000000);
    if (!::ReadFile(file.get(), read.data() + done, chunk, &got, nullptr)) return Result::kFailed;
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  read.resize(done);
  *content = std::move(read);
  return Result::kOk;
}

Result Win32FileSystem::WriteFileAtomic(const std::wstring& path, const Bytes& content) {
  const std::wstring temp = path + L".new~";
  bool written = false;
  {
    File file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return LastResult();
    written = WriteAll(file.get(), content) && FlushFileBuffers(file.get());
  }
  if (!written) {
    ::DeleteFileW(temp.c_str());
    return Result::kFailed;
  }
  if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temp.c_str());
    return Result::kFailed;
  }
  return Result::kOk;
}

Result Win32FileSystem::AppendFile(const std::wstring& path, const Bytes& content) {
  File file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastResult();
  if (!WriteAll(file.get(), content)) return Result::kFailed;
  return FlushFileBuffers(file.get()) ? Result::kOk : Result::kFailed;
}

Result Win32FileSystem::DeleteFile(const std::wstring& path) {
  return ::DeleteFileW(path.c_str()) ? Result::kOk : LastResult();
}

Result Win32FileSystem::RemoveFolder(const std::wstring& path) {
  return RemoveDirectoryW(path.c_str()) ? Result::kOk : LastResult();
}

Result Win32FileSystem::CreateFolder(const std::wstring& path) {
  const std::wstring folder = WithoutTrailingBackslash(path);
  // Parents first: every prefix that ends before a backslash, skipping the
  // drive ("C:") and the server and share of a network path.
  std::size_t start = 0;
  if (folder.rfind(L"\\\\", 0) == 0) {
    start = folder.find(L'\\', 2);
    if (start != std::wstring::npos) start = folder.find(L'\\', start + 1);
    if (start == std::wstring::npos) return Result::kFailed;
  }
  for (std::size_t cut = folder.find(L'\\', start + 1); cut != std::wstring::npos;
       cut = folder.find(L'\\', cut + 1)) {
    const std::wstring parent = folder.substr(0, cut);
    if (parent.size() == 2 && parent[1] == L':') continue;
    CreateDirectoryW(parent.c_str(), nullptr);
  }
  if (CreateDirectoryW(folder.c_str(), nullptr)) return Result::kOk;
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return Result::kOk;
  return Result::kFailed;
}

Result Win32FileSystem::Rename(const std::wstring& from, const std::wstring& to) {
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) ? Result::kOk
                                                                          : LastResult();
}

}  // namespace brimlow::platform::win32
