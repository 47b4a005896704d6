// Stand-in platform only (POSIX).
#include "platform/standin/StandinFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

namespace brimlow::platform::standin {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kGenericRead = 0x80000000u;
constexpr std::uint32_t kGenericWrite = 0x40000000u;
constexpr std::uint32_t kGenericExecute = 0x20000000u;
constexpr std::uint32_t kGenericAll = 0x10000000u;

Result FromErrno(int error) {
  return error == ENOENT || error == ENOTDIR ? Result::kNotFound : Result::kFailed;
}

FileTime ToFileTime(const timespec& t) {
  constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
  const std::int64_t seconds = t.tv_sec + kSecondsFrom1601To1970;
  if (seconds < 0) return 0;
  return static_cast<FileTime>(seconds) * 10000000u + static_cast<FileTime>(t.tv_nsec / 100);
}

FileEntry EntryOf(const std::string& name, const struct stat& st) {
  FileEntry entry;
  entry.name = FromUtf8(name);
  entry.size = static_cast<std::uint64_t>(st.st_size);
  entry.write_time = ToFileTime(st.st_mtim);
  entry.creation_time = std::min(ToFileTime(st.st_ctim), entry.write_time);
  if (S_ISLNK(st.st_mode)) {
    entry.attributes = FileAttr::kReparsePoint;
  } else if (S_ISDIR(st.st_mode)) {
    entry.attributes = FileAttr::kDirectory;
  } else {
    entry.attributes = FileAttr::kArchive;
  }
  if ((st.st_mode & S_IWUSR) == 0 && !S_ISLNK(st.st_mode)) entry.attributes |= FileAttr::kReadOnly;
  return entry;
}

bool WriteAll(int fd, const Bytes& content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A name no other writer in this process or another one picks.
std::string TempNameFor(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  return "." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
         std::to_string(counter++);
}

bool IsDirectory(const fs::path& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

Result StandinFileSystem::Stat(const std::wstring& path, FileEntry* entry) {
  const fs::path host = drives_.HostPath(path);
  if (host.empty()) return Result::kNotFound;
  struct stat st;
  if (::lstat(host.c_str(), &st) != 0) return FromErrno(errno);
  *entry = EntryOf(host.filename().string(), st);
  if (host == drives_.HostPath(path.substr(0, 2))) entry->name.clear();  // a drive has no name
  return Result::kOk;
}

Result StandinFileSystem::List(const std::wstring& mask, std::vector<FileEntry>* entries) {
  const auto cut = mask.find_last_of(L"\\/");
  if (cut == std::wstring::npos) return Result::kNotFound;
  const std::wstring pattern = mask.substr(cut + 1);
  const fs::path folder = drives_.HostPath(mask.substr(0, cut + 1));
  if (folder.empty()) return Result::kNotFound;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return FromErrno(errno);
  std::vector<FileEntry> found;
  while (const dirent* item = ::readdir(dir)) {
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    if (!MatchesMask(FromUtf8(name), pattern)) continue;
    struct stat st;
    if (::fstatat(::dirfd(dir), item->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    found.push_back(EntryOf(name, st));
  }
  ::closedir(dir);
  // Sorted like an NTFS folder, so listings do not depend on the host.
  std::sort(found.begin(), found.end(),
            [](const FileEntry& a, const FileEntry& b) { return CompareText(a.name, b.name) < 0; });
  entries->insert(entries->end(), found.begin(), found.end());
  return Result::kOk;
}

Result StandinFileSystem::ReadFile(const std::wstring& path, Bytes* content) {
  const fs::path host = drives_.HostPath(path);
  if (host.empty()) return Result::kNotFound;
  const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FromErrno(errno);
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return Result::kFailed;
  }
  Bytes data;
  std::uint8_t buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return Result::kFailed;
    }
    if (n == 0) break;
    data.insert(data.end(), buffer, buffer + n);
  }
  ::close(fd);
  *content = std::move(data);
  return Result::kOk;
}

Result StandinFileSystem::WriteFileAtomic(const std::wstring& path, const Bytes& content) {
  const fs::path host = drives_.HostPath(path);
  if (host.empty() || IsDirectory(host)) return Result::kFailed;
  const fs::path temp = host.parent_path() / TempNameFor(host);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return Result::kFailed;
  const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temp.c_str(), host.c_str()) != 0) {
    ::unlink(temp.c_str());
    return Result::kFailed;
  }
  return Result::kOk;
}

Result StandinFileSystem::AppendFile(const std::wstring& path, const Bytes& content) {
  const fs::path host = drives_.HostPath(path);
  if (host.empty()) return Result::kFailed;
  const int fd = ::open(host.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return Result::kFailed;
  const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  return written && closed ? Result::kOk : Result::kFailed;
}

Result StandinFileSystem::DeleteFile(const std::wstring& path) {
  const fs::path host = drives_.HostPath(path);
  if (host.empty()) return Result::kNotFound;
  if (IsDirectory(host)) return Result::kFailed;  // unlink would refuse too; say so plainly
  if (::unlink(host.c_str()) != 0) return FromErrno(errno);
  return Result::kOk;
}

Result StandinFileSystem::RemoveFolder(const std::wstring& path) {
  const fs::path host = drives_.HostPath(path);
  if (host.empty()) return Result::kNotFound;
  if (::rmdir(host.c_str()) != 0) return errno == ENOENT ? Result::kNotFound : Result::kFailed;
  return Result::kOk;
}

Result StandinFileSystem::CreateFolder(const std::wstring& path) {
  const fs::path host = drives_.HostPath(path);
  if (host.empty()) return Result::kFailed;
  std::error_code ec;
  fs::create_directories(host, ec);
  return IsDirectory(host) ? Result::kOk : Result::kFailed;
}

Result StandinFileSystem::Rename(const std::wstring& from, const std::wstring& to) {
  const fs::path source = drives_.HostPath(from);
  fs::path target = drives_.HostPath(to);
  struct stat source_st, target_st;
  if (source.empty() || ::lstat(source.c_str(), &source_st) != 0) return Result::kNotFound;
  if (target.empty()) return Result::kFailed;
  // A target that names the source itself in other letters is a change of
  // case: rename to the spelling given. Any other target is replaced.
  if (::lstat(target.c_str(), &target_st) == 0 && source_st.st_dev == target_st.st_dev &&
      source_st.st_ino == target_st.st_ino) {
    const auto cut = to.find_last_of(L"\\/");
    target = target.parent_path() / ToUtf8(cut == std::wstring::npos ? to : to.substr(cut + 1));
  }
  return ::rename(source.c_str(), target.c_str()) == 0 ? Result::kOk : Result::kFailed;
}

bool StandinFileSystem::CheckAccess(std::uint32_t generic_access, const std::wstring& path) {
  const fs::path host = drives_.HostPath(path);
  if (host.empty()) return false;
  int mode = 0;
  if (generic_access & (kGenericRead | kGenericAll)) mode |= R_OK;
  if (generic_access & (kGenericWrite | kGenericAll)) mode |= W_OK;
  if (generic_access & (kGenericExecute | kGenericAll)) mode |= X_OK;
  return ::access(host.c_str(), mode == 0 ? F_OK : mode) == 0;
}

}  // namespace brimlow::platform::standin
