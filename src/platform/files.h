// Files and folders. Paths are Windows paths (drive letter, backslashes) on both builds;
// names are compared without regard to case, as the target system does.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Attribute bits, with the values Windows gives them.
constexpr uint32_t kAttrReadOnly = 0x01;
constexpr uint32_t kAttrHidden = 0x02;
constexpr uint32_t kAttrSystem = 0x04;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;
constexpr uint32_t kAttrNormal = 0x80;
constexpr uint32_t kNoAttributes = 0xFFFFFFFF;  // the path does not exist

bool FileExists(const std::string& path);    // a file, not a folder
bool FolderExists(const std::string& path);
// Creates one folder level. False when it already exists, its parent is missing, or it is refused.
bool CreateFolder(const std::string& path);
bool RemoveFile(const std::string& path);    // fails on a read-only file, as on Windows
bool RemoveFolder(const std::string& path);  // empty folders only
// Replaces `to` if it exists (not when it is read-only).
bool MoveFileReplacing(const std::string& from, const std::string& to);

uint32_t ReadAttributes(const std::string& path);  // kNoAttributes when missing
bool WriteAttributes(const std::string& path, uint32_t attributes);
// Sets creation and last-write time from an MS-DOS date and time given in local time.
bool SetFileDosTime(const std::string& path, uint16_t dosDate, uint16_t dosTime);
// The last-write time as an MS-DOS date and time in local time (two-second resolution).
bool ReadFileDosTime(const std::string& path, uint16_t& dosDate, uint16_t& dosTime);

struct FolderEntry {
  std::string name;  // name only, no folder part
  bool isFolder = false;
};
// Entries matching a pattern such as "C:\dir\*.lng", in the order the system lists them
// ("." and ".." left out).
std::vector<FolderEntry> ListFolder(const std::string& pattern);

// The user's temporary folder as the system gives it (with its trailing backslash).
std::string TempFolder();

// An open file. Closed by its destructor; moving transfers ownership.
class File {
 public:
  // Create: new or truncated, for writing; CreateNew: only a file that does not exist yet.
  enum class Mode { Read, Create, CreateNew };
  File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = kClosed; }
  File& operator=(File&& other) noexcept;
  ~File() { Close(); }

  bool Open(const std::string& path, Mode mode);  // false leaves the file closed
  bool IsOpen() const { return handle_ != kClosed; }
  // Bytes read (0 at the end of the file), or -1 on an error.
  int64_t Read(void* buffer, int64_t count);
  bool Write(const void* buffer, int64_t count);  // all bytes or false
  bool Seek(int64_t position);
  int64_t Size();                                 // -1 on an error
  bool Truncate();                                // cuts the file at the current position
  // Creation and last-write time from an MS-DOS date and time in local time; written data
  // that follows changes the last-write time again.
  bool SetDosTime(uint16_t dosDate, uint16_t dosTime);
  void Close();

 private:
  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;
};

// Reads a whole file; false (and `contents` empty) when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& contents);

}  // namespace platform
