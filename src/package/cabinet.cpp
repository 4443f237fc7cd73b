#include "package/cabinet.h"

#include "platform/cabinet.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/text.h"

namespace {

using platform::kAttrArchive;
using platform::kAttrHidden;
using platform::kAttrReadOnly;
using platform::kAttrSystem;

constexpr uint32_t kKeptAttributes = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
// Windows refuses to replace a hidden or system file with a plain one, and any file that is
// read-only, so all three go before an existing file is replaced.
constexpr uint32_t kBlockingAttributes = kAttrReadOnly | kAttrHidden | kAttrSystem;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Creates the folder and every missing level above it, one level at a time.
bool EnsureFolder(const std::string& folder) {
  if (platform::FolderExists(folder)) return true;
  size_t root = path::RootLength(folder);
  for (size_t pos = root + 1; pos <= folder.size(); ++pos) {
    if (pos < folder.size() && !IsSeparator(folder[pos])) continue;
    if (IsSeparator(folder[pos - 1])) continue;  // the root's own backslash, or a doubled one
    std::string level = folder.substr(0, pos);
    if (!platform::FolderExists(level) && !platform::CreateFolder(level) && !platform::FolderExists(level))
      return false;
  }
  return true;
}

// A name for a new file in the folder that nothing there has yet.
std::string FreeTemporaryName(const std::string& folder) {
  static unsigned counter = 0;
  std::string candidate;
  do {
    candidate = path::Join(folder, "~zx" + text::FromInt(++counter) + ".tmp");
  } while (platform::ReadAttributes(candidate) != platform::kNoAttributes);
  return candidate;
}

// Writes the decoded files into one folder. A file that replaces an existing one is written
// beside it under a temporary name and moved over it only once it is complete, so that a
// failed extraction (a corrupt cabinet, a full disk) leaves the existing file as it was.
class FolderWriter : public platform::CabinetSink {
 public:
  explicit FolderWriter(const std::string& folder) : folder_(folder) {}
  ~FolderWriter() { Discard(); }

  bool BeginFile(const platform::CabinetFile& file) override {
    if (!IsSafeStoredName(file.name)) return false;
    std::string name = file.name;
    for (char& c : name)
      if (c == '/') c = '\\';
    path_ = path::Join(folder_, name);
    // The target folder is made sure of once per cabinet; a stored name with folders of its
    // own needs its own.
    if (!folderReady_) folderReady_ = EnsureFolder(folder_);
    if (!folderReady_ || (name.find('\\') != std::string::npos && !EnsureFolder(path::FolderOf(path_))))
      return false;
    file_ = file;
    written_ = 0;
    // A new file is written in place: there is nothing there to keep.
    replacing_ = false;
    temporary_ = path_;
    if (out_.Open(path_, platform::File::Mode::CreateNew)) return true;
    const uint32_t existing = platform::ReadAttributes(path_);
    replacing_ = existing != platform::kNoAttributes && !(existing & platform::kAttrDirectory);
    temporary_ = replacing_ ? FreeTemporaryName(path::FolderOf(path_)) : "";
    if (replacing_ && out_.Open(temporary_, platform::File::Mode::Create)) return true;
    temporary_.clear();
    return false;
  }

  bool WriteData(const void* data, size_t size) override {
    written_ += size;
    return out_.Write(data, int64_t(size));
  }

  // A new file gets its time through the handle it was written with. The existing file loses
  // its blocking attributes only for the move (Windows refuses to replace a read-only file,
  // and a hidden or system one with a plain one); the replacement gets its time after the
  // move, since a name taken over from a deleted file may inherit that file's creation time.
  // The attributes come last: a read-only file would refuse the time.
  bool EndFile() override {
    if (written_ != file_.size) return Discard();
    if (!replacing_) {
      if (!out_.SetDosTime(file_.dosDate, file_.dosTime)) return Discard();
      out_.Close();
      temporary_.clear();
      // A new file is born with the archive attribute alone, which is what most files store.
      const uint32_t attributes = file_.attributes & kKeptAttributes;
      return attributes == kAttrArchive || platform::WriteAttributes(path_, attributes);
    }
    out_.Close();
    const uint32_t existing = platform::ReadAttributes(path_);
    const bool blocked = existing != platform::kNoAttributes && (existing & kBlockingAttributes);
    if (blocked && !platform::WriteAttributes(path_, existing & ~kBlockingAttributes)) return Discard();
    if (!platform::MoveFileReplacing(temporary_, path_)) {
      if (blocked) platform::WriteAttributes(path_, existing);
      return Discard();
    }
    temporary_.clear();
    return platform::SetFileDosTime(path_, file_.dosDate, file_.dosTime) &&
           platform::WriteAttributes(path_, file_.attributes & kKeptAttributes);
  }

 private:
  // Removes a file begun and not completed; false, for the failure that caused it.
  bool Discard() {
    out_.Close();
    if (!temporary_.empty()) platform::RemoveFile(temporary_);
    temporary_.clear();
    return false;
  }

  std::string folder_;
  std::string path_;
  std::string temporary_;  // the file being written; "" when none
  bool replacing_ = false;  // an existing file: the new one is written beside it
  bool folderReady_ = false;
  platform::CabinetFile file_;
  uint64_t written_ = 0;
  platform::File out_;
};

}  // namespace

bool IsSafeStoredName(const std::string& storedName) {
  if (storedName.empty() || IsSeparator(storedName[0])) return false;  // absolute, or a share
  if (storedName.find(':') != std::string::npos) return false;         // a drive, or a stream
  // Every component must name something: none empty, and none made of dots and blanks only,
  // since Windows drops trailing dots and blanks and would read ".. " as "..".
  size_t start = 0;
  while (start <= storedName.size()) {
    size_t end = start;
    while (end < storedName.size() && !IsSeparator(storedName[end])) ++end;
    bool named = false;
    for (size_t i = start; i < end; ++i)
      if (storedName[i] != '.' && storedName[i] != ' ') named = true;
    if (!named) return false;
    start = end + 1;
  }
  return true;
}

bool ExtractCabinet(const std::string& cabinetPath, const std::string& targetFolder) {
  FolderWriter writer(targetFolder);
  return platform::DecodeCabinet(cabinetPath, writer);
}
