// Stand-in platform only: the shell link binary format.
#include "platform/standin/ShellLinkFile.h"

#include <cstdint>
#include <cstring>
#include <optional>

namespace brimlow::platform::standin {
namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::uint8_t kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::size_t kMaxTarget = 1023;

// Link flags.
constexpr std::uint32_t kHasLinkTargetIdList = 0x1;
constexpr std::uint32_t kHasLinkInfo = 0x2;
constexpr std::uint32_t kForceNoLinkInfo = 0x100;
// LinkInfo flags.
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;
constexpr std::uint32_t kCommonNetworkRelativeLink = 0x2;

// A bounds-checked view of a byte range. Every read answers nullopt (or "")
// instead of reading past the end.
class Span {
 public:
  Span(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::size_t size() const { return size_; }

  std::optional<std::uint32_t> U8(std::size_t at) const {
    if (at >= size_) return std::nullopt;
    return data_[at];
  }
  std::optional<std::uint32_t> U16(std::size_t at) const {
    if (at > size_ || size_ - at < 2) return std::nullopt;
    return data_[at] | (data_[at + 1] << 8);
  }
  std::optional<std::uint32_t> U32(std::size_t at) const {
    if (at > size_ || size_ - at < 4) return std::nullopt;
    return static_cast<std::uint32_t>(data_[at]) | (static_cast<std::uint32_t>(data_[at + 1]) << 8) |
           (static_cast<std::uint32_t>(data_[at + 2]) << 16) |
           (static_cast<std::uint32_t>(data_[at + 3]) << 24);
  }
  std::optional<Span> Sub(std::size_t at, std::size_t length) const {
    if (at > size_ || size_ - at < length) return std::nullopt;
    return Span(data_ + at, length);
  }
  bool Equals(std::size_t at, const std::uint8_t* bytes, std::size_t length) const {
    return at <= size_ && size_ - at >= length && std::memcmp(data_ + at, bytes, length) == 0;
  }
  // A zero-terminated 8-bit string; nullopt when no zero ends it.
  std::optional<std::wstring> Ansi(std::size_t at) const {
    if (at >= size_) return std::nullopt;
    const void* zero = std::memchr(data_ + at, 0, size_ - at);
    if (!zero) return std::nullopt;
    const auto* end = static_cast<const std::uint8_t*>(zero);
    return FromAnsi(std::string_view(reinterpret_cast<const char*>(data_ + at), end - (data_ + at)));
  }
  // A zero-terminated UTF-16LE string; nullopt when no zero ends it.
  std::optional<std::wstring> Unicode(std::size_t at) const {
    std::wstring text;
    for (std::size_t i = at;; i += 2) {
      const auto unit = U16(i);
      if (!unit) return std::nullopt;
      if (*unit == 0) return text;
      text += static_cast<wchar_t>(*unit);
    }
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

std::wstring Join(const std::wstring& base, const std::wstring& suffix) {
  if (base.empty() || suffix.empty()) return base + suffix;
  if (base.back() == L'\\' || suffix.front() == L'\\') return base + suffix;
  return base + L'\\' + suffix;
}

// The string at a 32-bit offset field: Unicode when that field is given
// (and non-zero), else ANSI.
std::optional<std::wstring> StringAt(const Span& info, std::size_t ansi_field,
                                     std::optional<std::size_t> unicode_field) {
  if (unicode_field) {
    const auto offset = info.U32(*unicode_field);
    if (offset && *offset != 0) return info.Unicode(*offset);
  }
  const auto offset = info.U32(ansi_field);
  if (!offset) return std::nullopt;
  return info.Ansi(*offset);
}

std::optional<std::wstring> NetworkName(const Span& info, std::uint32_t offset) {
  const auto size = info.U32(offset);
  if (!size || *size < 0x14) return std::nullopt;
  const auto block = info.Sub(offset, *size);
  if (!block) return std::nullopt;
  const auto name_offset = block->U32(8);
  if (!name_offset) return std::nullopt;
  if (*name_offset > 0x14) {
    const auto unicode = block->U32(0x14);
    if (unicode && *unicode != 0) return block->Unicode(*unicode);
  }
  return block->Ansi(*name_offset);
}

// The path the LinkInfo structure records; nullopt when it records none.
std::optional<std::wstring> LinkInfoPath(const Span& info) {
  const auto header_size = info.U32(4);
  const auto flags = info.U32(8);
  if (!header_size || !flags || *header_size < 0x1C || *header_size > info.size())
    return std::nullopt;
  const bool has_unicode = *header_size >= 0x24;
  const auto suffix = StringAt(info, 0x18, has_unicode ? std::optional<std::size_t>(0x20) : std::nullopt);
  if (!suffix) return std::nullopt;
  if (*flags & kCommonNetworkRelativeLink) {
    const auto offset = info.U32(0x14);
    const auto name = offset ? NetworkName(info, *offset) : std::nullopt;
    if (name && !name->empty()) return Join(*name, *suffix);
  }
  if (*flags & kVolumeIdAndLocalBasePath) {
    const auto base = StringAt(info, 0x10, has_unicode ? std::optional<std::size_t>(0x1C) : std::nullopt);
    if (base && !base->empty()) return Join(*base, *suffix);
  }
  return std::nullopt;
}

// The long name a file-entry item keeps in its 0xBEEF0004 extension block.
std::optional<std::wstring> LongName(const Span& item, std::size_t at) {
  const auto size = item.U16(at);
  const auto version = item.U16(at + 2);
  const auto signature = item.U32(at + 4);
  if (!size || !version || !signature || *signature != 0xBEEF0004u) return std::nullopt;
  const auto block = item.Sub(at, *size);
  if (!block) return std::nullopt;
  std::size_t name_at = 0;
  if (*version >= 9) {
    name_at = 46;
  } else if (*version >= 8) {
    name_at = 42;
  } else if (*version >= 7) {
    name_at = 38;
  } else if (*version >= 3) {
    name_at = 20;
  } else {
    return std::nullopt;
  }
  return block->Unicode(name_at);
}

// One file-entry item: its long name, else its 8.3 name.
std::optional<std::wstring> FileEntryName(const Span& item) {
  constexpr std::size_t kShortNameAt = 14;
  if (kShortNameAt >= item.size()) return std::nullopt;
  const auto short_name = item.Ansi(kShortNameAt);
  if (!short_name) return std::nullopt;
  std::size_t extension = kShortNameAt + short_name->size() + 1;
  extension += extension & 1;
  const auto long_name = LongName(item, extension);
  return long_name && !long_name->empty() ? long_name : short_name;
}

// The path rebuilt from the ID list: a computer root item, a drive item
// ("C:\"), then one file-entry item per folder and file.
std::optional<std::wstring> IdListPath(const Span& list) {
  std::wstring path;
  for (std::size_t at = 0;;) {
    const auto size = list.U16(at);
    if (!size) return std::nullopt;
    if (*size == 0) break;
    const auto item = list.Sub(at, *size);
    if (!item || *size < 3) return std::nullopt;
    at += *size;
    const std::uint32_t type = *item->U8(2);
    if (type == 0x1F) continue;  // the root: "My Computer" and the like
    if ((type & 0x70) == 0x20) {
      const auto drive = item->Ansi(3);
      if (!drive || drive->size() < 2) return std::nullopt;
      path = *drive;
    } else if ((type & 0x70) == 0x30) {
      const auto name = FileEntryName(*item);
      if (!name || path.empty()) return std::nullopt;
      path = Join(path, *name);
    } else {
      return std::nullopt;
    }
  }
  if (path.empty()) return std::nullopt;
  return path;
}

}  // namespace

std::wstring ShellLinkTarget(const Bytes& link) {
  const Span data(link.data(), link.size());
  const auto header_size = data.U32(0);
  const auto flags = data.U32(0x14);
  if (!header_size || *header_size != kHeaderSize || !flags || link.size() < kHeaderSize ||
      !data.Equals(4, kLinkClsid, sizeof kLinkClsid))
    return {};

  std::size_t at = kHeaderSize;
  std::optional<Span> id_list;
  if (*flags & kHasLinkTargetIdList) {
    const auto list_size = data.U16(at);
    if (!list_size) return {};
    id_list = data.Sub(at + 2, *list_size);
    if (!id_list) return {};
    at += 2 + *list_size;
  }

  std::optional<std::wstring> target;
  if ((*flags & kHasLinkInfo) && !(*flags & kForceNoLinkInfo)) {
    const auto info_size = data.U32(at);
    const auto info = info_size ? data.Sub(at, *info_size) : std::nullopt;
    if (!info) return {};
    target = LinkInfoPath(*info);
  }
  if (!target && id_list) target = IdListPath(*id_list);
  if (!target) return {};
  if (target->size() > kMaxTarget) target->resize(kMaxTarget);
  return *target;
}

std::wstring StandinShellLinks::Target(const std::wstring& link_file) {
  Bytes content;
  if (!Ok(files_.ReadFile(link_file, &content))) return {};
  return ShellLinkTarget(content);
}

}  // namespace brimlow::platform::standin
