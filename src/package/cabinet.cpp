#include "package/cabinet.h"

#include "platform/cabinet.h"
#include "platform/files.h"
#include "platform/path.h"

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

// Where the folder levels that can be created begin: after "C:" or "C:\", after
// "\\server\share", or at the start of a relative path.
size_t RootLength(const std::string& folder) {
  if (folder.size() >= 2 && folder[1] == ':') return 2;
  if (folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1])) {
    size_t pos = 2;
    for (int part = 0; part < 2 && pos < folder.size(); ++part) {
      while (pos < folder.size() && !IsSeparator(folder[pos])) ++pos;
      if (part == 0 && pos < folder.size()) ++pos;
    }
    return pos;
  }
  return 0;
}

// Creates the folder and every missing level above it, one level at a time.
bool EnsureFolder(const std::string& folder) {
  size_t root = RootLength(folder);
  for (size_t pos = root + 1; pos <= folder.size(); ++pos) {
    if (pos < folder.size() && !IsSeparator(folder[pos])) continue;
    if (IsSeparator(folder[pos - 1])) continue;  // the root's own backslash, or a doubled one
    std::string level = folder.substr(0, pos);
    if (!platform::FolderExists(level) && !platform::CreateFolder(level) && !platform::FolderExists(level))
      return false;
  }
  return true;
}

// Writes the decoded files into one folder. A file is complete only once EndFile has set its
// time and attributes; a failure leaves the file as far as it got and closes it.
class FolderWriter : public platform::CabinetSink {
 public:
  explicit FolderWriter(const std::string& folder) : folder_(folder) {}

  bool BeginFile(const platform::CabinetFile& file) override {
    if (!IsSafeStoredName(file.name)) return false;
    std::string name = file.name;
    for (char& c : name)
      if (c == '/') c = '\\';
    path_ = path::Join(folder_, name);
    if (!EnsureFolder(path::FolderOf(path_))) return false;

    uint32_t existing = platform::ReadAttributes(path_);
    if (existing != platform::kNoAttributes && !(existing & platform::kAttrDirectory) &&
        (existing & kBlockingAttributes) &&
        !platform::WriteAttributes(path_, existing & ~kBlockingAttributes))
      return false;

    file_ = file;
    written_ = 0;
    return out_.Open(path_, platform::File::Mode::Create);
  }

  bool WriteData(const void* data, size_t size) override {
    written_ += size;
    return out_.Write(data, int64_t(size));
  }

  // The attributes come last: a read-only file would refuse the time.
  bool EndFile() override {
    out_.Close();
    return written_ == file_.size && platform::SetFileDosTime(path_, file_.dosDate, file_.dosTime) &&
           platform::WriteAttributes(path_, file_.attributes & kKeptAttributes);
  }

 private:
  std::string folder_;
  std::string path_;
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
