#include "install/install_files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "form/form1.h"
#include "install/file_dates.h"
#include "install/run_state.h"
#include "package/cabinet.h"
#include "package/locator.h"
#include "package/workdir.h"
#include "platform/path.h"
#include "platform/system.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "script/display_text.h"
#include "script/ini_file.h"
#include "script/languages.h"
#include "script/list_entry.h"
#include "script/placeholders.h"
#include "script/setup_ini.h"

namespace {

constexpr int kBlock = 2048;
// The work copy is written in larger pieces than the package is read: one write per block
// would cost a system call each.
constexpr int kWriteBuffer = 32 * kBlock;

platform::Answer ShowRunBox(const std::string& text, platform::Icon icon, platform::Buttons buttons,
                            const char* caption = "Setup") {
  platform::MessageBoxRequest box;
  box.owner = platform::Owner::MainWindow;
  box.text = text;
  box.caption = caption;
  box.icon = icon;
  box.buttons = buttons;
  return platform::ShowMessageBox(box);
}

// A whole decimal number, blanks around it ignored; a length cannot be negative.
bool ParsePackedSize(const std::string& field, int32_t& size) {
  const std::string digits = text::Trim(field);
  if (digits.empty()) return false;
  int64_t value = 0;
  for (char digit : digits) {
    if (digit < '0' || digit > '9') return false;
    value = value * 10 + (digit - '0');
    if (value > INT32_MAX) return false;
  }
  size = int32_t(value);
  return true;
}

// The folders on the path of the target, created one level at a time, outermost first.
// False (after message 13) when one cannot be created.
bool CreateTargetFolders(const FileEntry& entry, FileLists& lists) {
  const std::string& target = entry.target;
  // Where the target's own folder exists, every folder above it does.
  if (platform::FolderExists(path::FolderOf(target))) return true;
  for (size_t pos = path::RootLength(target) + 1; pos < target.size(); ++pos) {
    if (target[pos] != '\\' || target[pos - 1] == '\\') continue;
    std::string folder = target.substr(0, pos);
    if (platform::FolderExists(folder)) continue;
    if (!platform::CreateFolder(folder)) {
      ShowRunBox(FormatMessage(LangText("Messages", 13), folder), platform::Icon::Error, platform::Buttons::Ok);
      return false;
    }
    if (entry.removeOnUninstall) lists.createdFolders.push_back(folder);
  }
  return true;
}

// Buffered writes of the work copy; a failure shows when the buffer is written out.
class WorkCopy {
 public:
  bool Open(const std::string& path) { return file_.Open(path, platform::File::Mode::Create); }
  bool Write(const char* data, int64_t count) {
    if (used_ + count > kWriteBuffer && !Flush()) return false;
    std::copy(data, data + count, buffer_.data() + used_);
    used_ += count;
    return true;
  }
  bool Close() {
    bool flushed = Flush();
    file_.Close();
    return flushed;
  }

 private:
  bool Flush() {
    bool written = used_ == 0 || file_.Write(buffer_.data(), used_);
    used_ = 0;
    return written;
  }
  platform::File file_;
  std::vector<char> buffer_ = std::vector<char>(kWriteBuffer);
  int64_t used_ = 0;
};

enum class CopyOutcome { Copied, Failed, Aborted };

// The cabinet copied out of the package in blocks of 2,048 bytes, the bar and the window
// messages after each block; a PackedSize that is a multiple of the block ends with a read of
// nothing.
CopyOutcome CopyCabinet(platform::File& package, const FileEntry& entry, int index, int count,
                        const std::string& workCopyPath) {
  WorkCopy workCopy;
  if (!package.Seek(PackageOffset) || !workCopy.Open(workCopyPath)) return CopyOutcome::Failed;
  char block[kBlock];
  int64_t copied = 0, read;
  do {
    read = package.Read(block, std::min<int64_t>(entry.packedSize - copied, kBlock));
    if (read < 0 || !workCopy.Write(block, read)) return CopyOutcome::Failed;
    copied += read;
    Form1.ProgressBar1.Position = FileProgress(index, count, copied, entry.packedSize);
    platform::ProcessMessages();
    if (AbortRequested) return CopyOutcome::Aborted;
  } while (read == kBlock);
  return workCopy.Close() ? CopyOutcome::Copied : CopyOutcome::Failed;
}

}  // namespace

int64_t RoundHalfEven(double value) {
  double floor = std::floor(value), rest = value - floor;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(floor, 2.0) != 0)) floor += 1;
  return int64_t(floor);
}

int FileProgress(int index, int count, int64_t copied, int64_t packedSize) {
  const int64_t band = RoundHalfEven(100.0 / count);
  return int(RoundHalfEven(index * 100.0 / count) + RoundHalfEven(double(copied * band) / double(packedSize + 1)));
}

bool ParseFileEntry(const std::string& value, FileEntry& entry) {
  std::vector<std::string> fields = SplitEntry(value, kFilesSeparator);
  if (fields.size() < 4 || !ParsePackedSize(fields[1], entry.packedSize)) return false;
  entry.target = ExpandPlaceholders(fields[0]);
  entry.existMode = fields[2];
  entry.removeOnUninstall = fields[3] == "Yes";
  return true;
}

bool KeepsExistingFile(const FileEntry& entry) {
  if (entry.existMode == "Skip") return true;
  if (entry.existMode == "Ask")
    return ShowRunBox(FormatMessage(LangText("Messages", 12), entry.target), platform::Icon::Question,
                      platform::Buttons::YesNo) != platform::Answer::Yes;
  if (entry.existMode == "Overwrite only if newer") {
    std::optional<double> built =
        ParseDateTime(SetupString("BuildDate"), platform::UserDateTimeFormat(), platform::Today());
    return built && FileDateTime(entry.target) >= *built;
  }
  return false;
}

// An existing file that is installed over is replaced by the extraction in one step, never
// deleted first: a failed extraction leaves it as it was.
FileOutcome InstallPackagedFile(platform::File& package, int index, int count, FileLists& lists) {
  const std::string value = SetupIni.ReadString("Files", text::FromInt(index), "");
  if (value.empty()) return FileOutcome::Done;
  FileEntry entry;
  // A cabinet reaching past what a 32-bit package offset can address is no package of ours.
  if (!ParseFileEntry(value, entry) || int64_t(PackageOffset) + entry.packedSize > INT32_MAX) {
    ShowRunBox("The setup file is corrupted.", platform::Icon::Error, platform::Buttons::Ok, "");
    return FileOutcome::Fatal;
  }
  Form1.Label14.Caption = ShortenPath(entry.target);
  if (platform::FileExists(entry.target) && KeepsExistingFile(entry)) {
    PackageOffset += entry.packedSize;
    return FileOutcome::Done;
  }
  if (!CreateTargetFolders(entry, lists)) return FileOutcome::Fatal;

  const std::string workCopy = WorkDir + "\\file.cab";
  switch (CopyCabinet(package, entry, index, count, workCopy)) {
    case CopyOutcome::Aborted: return FileOutcome::Aborted;
    case CopyOutcome::Failed:
      ShowRunBox(FormatMessage("Error creating file:<#>%s<#><#>Access is denied.", workCopy), platform::Icon::Error,
                 platform::Buttons::Ok);
      return FileOutcome::Fatal;
    case CopyOutcome::Copied: break;
  }
  platform::ProcessMessages();
  PackageOffset += entry.packedSize;
  if (ExtractCabinet(workCopy, path::FolderOf(entry.target))) {
    platform::RemoveFile(workCopy);
    if (entry.removeOnUninstall) lists.installedFiles.push_back(entry.target);
    return FileOutcome::Done;
  }
  if (ShowRunBox(FormatMessage(LangText("Messages", 14), entry.target), platform::Icon::Error,
                 platform::Buttons::YesNo) != platform::Answer::Yes)
    return FileOutcome::Fatal;
  InstallErrors = true;
  return FileOutcome::Done;
}
