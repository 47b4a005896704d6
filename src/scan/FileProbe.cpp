#include "scan/FileProbe.h"

#include <unordered_map>
#include <vector>

#include "base/Text.h"
#include "platform/Platform.h"

namespace brimlow::scan {
namespace {

using platform::FileEntry;

class Direct : public FileProbe {
 public:
  bool FileExists(const std::wstring& path) override {
    FileEntry entry;
    return !path.empty() && platform::Files().Stat(path, &entry) == platform::Result::kOk &&
           !entry.IsFolder();
  }
  bool FolderExists(const std::wstring& path) override {
    FileEntry entry;
    return !path.empty() && platform::Files().Stat(path, &entry) == platform::Result::kOk &&
           entry.IsFolder();
  }
};

// A path is looked up as (folder, name): the folder's listing is read once
// and kept, keyed by the upper-cased folder, so thousands of registry entries
// pointing into the same few folders cost one listing each.
class Caching : public FileProbe {
 public:
  bool FileExists(const std::wstring& path) override {
    const FileEntry* entry = Find(path);
    return entry && !entry->IsFolder();
  }
  bool FolderExists(const std::wstring& path) override {
    if (!EndsInSlash(path)) return FolderAt(path);
    std::wstring trimmed = path;
    while (EndsInSlash(trimmed)) trimmed.pop_back();
    return FolderAt(trimmed);
  }
  void NoteListedEntry(const std::wstring& folder, const FileEntry& entry) override {
    listed_path_.assign(folder).append(entry.name);
    listed_.attributes = entry.attributes;
  }
  void ForgetListedEntry() override { listed_path_.clear(); }

 private:
  using Listing = std::unordered_map<std::wstring, FileEntry>;

  static bool EndsInSlash(const std::wstring& path) {
    return path.size() > 3 && (path.back() == L'\\' || path.back() == L'/');
  }

  bool FolderAt(const std::wstring& path) {
    if (IsDriveRoot(path)) return direct_.FolderExists(path);
    const FileEntry* entry = Find(path);
    return entry && entry->IsFolder();
  }

  static bool IsDriveRoot(const std::wstring& path) {
    return (path.size() == 2 || path.size() == 3) && path[1] == L':';
  }

  // Only plain absolute names are answered from a listing. Anything the
  // platform would normalise first goes to it directly, so the cache never
  // changes a verdict: wildcards, relative parts, forward slashes, short
  // (8.3) names, and names ending in a blank or a dot, which Windows strips.
  static bool Cacheable(const std::wstring& path) {
    if (path.size() < 3 || path[1] != L':' || path[2] != L'\\') return false;
    if (path.back() == L' ' || path.back() == L'.') return false;
    wchar_t previous = 0;
    for (const wchar_t c : path) {
      switch (c) {
        case L'*': case L'?': case L'~': case L'/': case L'"': case L'<': case L'>': case L'|': return false;
        case L'.':
        case L'\\':
          if (previous == L'\\') return false;  // a backslash followed by a dot or a backslash
          break;
        default: break;
      }
      previous = c;
    }
    return true;
  }

  // Upper-cases the path once into a kept buffer and looks its folder and
  // name up in it, so that a question allocates nothing once the buffers
  // have grown. A cacheable path's last backslash splits folder and name.
  const FileEntry* Find(const std::wstring& path) {
    if (path.empty()) return nullptr;
    if (!Cacheable(path)) return Uncached(path);
    // The entry the walk is handing to the rules, asked for by the very
    // name it was listed under: the same answer its folder's listing gives.
    if (!listed_path_.empty() && path == listed_path_) return &listed_;
    const std::size_t split = path.rfind(L'\\') + 1;
    if (split == path.size()) return nullptr;
    upper_.resize(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) upper_[i] = UpperChar(path[i]);
    const Listing& listing = ListingOf(path, split);
    name_key_.assign(upper_, split);
    const auto it = listing.find(name_key_);
    return it == listing.end() ? nullptr : &it->second;
  }

  // The listing of path's folder (path up to `split`, upper-cased in upper_).
  const Listing& ListingOf(const std::wstring& path, std::size_t split) {
    if (last_listing_ && last_folder_.size() == split && upper_.compare(0, split, last_folder_) == 0) {
      return *last_listing_;
    }
    last_folder_.assign(upper_, 0, split);
    auto it = listings_.find(last_folder_);
    if (it == listings_.end()) it = listings_.emplace(last_folder_, Read(path.substr(0, split))).first;
    last_listing_ = &it->second;
    return it->second;
  }

  static Listing Read(const std::wstring& folder) {
    Listing listing;
    std::vector<FileEntry> entries;
    if (platform::Files().List(folder + L"*", &entries) == platform::Result::kOk) {
      for (auto& entry : entries) listing.emplace(UpperCase(entry.name), std::move(entry));
    }
    return listing;
  }

  const FileEntry* Uncached(const std::wstring& path) {
    scratch_ = FileEntry{};
    if (platform::Files().Stat(path, &scratch_) != platform::Result::kOk) return nullptr;
    return &scratch_;
  }

  Direct direct_;
  std::unordered_map<std::wstring, Listing> listings_;
  std::wstring upper_;         // the question, upper-cased
  std::wstring name_key_;      // its name part
  std::wstring last_folder_;   // the folder asked last (upper-cased, with its backslash)
  const Listing* last_listing_ = nullptr;  // and its listing (map nodes do not move)
  std::wstring listed_path_;  // folder + name of the noted entry; empty: none
  FileEntry listed_;          // its attributes
  FileEntry scratch_;
};

}  // namespace

FileProbe& DirectFileProbe() {
  static Direct probe;
  return probe;
}

std::unique_ptr<FileProbe> MakeCachingFileProbe() { return std::make_unique<Caching>(); }

}  // namespace brimlow::scan
