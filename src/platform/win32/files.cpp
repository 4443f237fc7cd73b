#include "platform/files.h"
#include "platform/win32/win32.h"

namespace platform {

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }
bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }
bool RemoveFolder(const std::string& path) { return RemoveDirectoryA(path.c_str()) != 0; }

bool MoveFileReplacing(const std::string& from, const std::string& to) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) return true;
  if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  // Windows 9x has no MoveFileEx: there the old file goes just before the new one takes its name.
  return (DeleteFileA(to.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) && MoveFileA(from.c_str(), to.c_str());
}

uint32_t ReadAttributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool WriteAttributes(const std::string& path, uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL) != 0;
}

namespace {
bool SetHandleDosTime(HANDLE h, uint16_t dosDate, uint16_t dosTime) {
  FILETIME local, utc;
  return DosDateTimeToFileTime(dosDate, dosTime, &local) && LocalFileTimeToFileTime(&local, &utc) &&
         SetFileTime(h, &utc, nullptr, &utc) != 0;
}
}  // namespace

bool SetFileDosTime(const std::string& path, uint16_t dosDate, uint16_t dosTime) {
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool done = SetHandleDosTime(h, dosDate, dosTime);
  CloseHandle(h);
  return done;
}

bool ReadFileDosTime(const std::string& path, uint16_t& dosDate, uint16_t& dosTime) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  FILETIME local;
  WORD date, time;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return false;
  dosDate = date;
  dosTime = time;
  return true;
}

std::vector<FolderEntry> ListFolder(const std::string& pattern) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(pattern.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return entries;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..")
      entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return entries;
}

std::string TempFolder() {
  char buffer[MAX_PATH + 1];
  DWORD n = GetTempPathA(sizeof buffer, buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

bool File::Open(const std::string& path, Mode mode) {
  Close();
  HANDLE h = mode == Mode::Read
                 ? CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)
                 : CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               mode == Mode::CreateNew ? CREATE_NEW : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(h);
  return true;
}

int64_t File::Read(void* buffer, int64_t count) {
  if (!IsOpen()) return -1;
  int64_t done = 0;
  while (done < count) {
    DWORD chunk = count - done > 0x40000000 ? 0x40000000 : DWORD(count - done), n = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), static_cast<char*>(buffer) + done, chunk, &n, nullptr))
      return -1;
    if (n == 0) break;
    done += n;
  }
  return done;
}

bool File::Write(const void* buffer, int64_t count) {
  if (!IsOpen()) return false;
  int64_t done = 0;
  while (done < count) {
    DWORD chunk = count - done > 0x40000000 ? 0x40000000 : DWORD(count - done), n = 0;
    if (!WriteFile(reinterpret_cast<HANDLE>(handle_), static_cast<const char*>(buffer) + done, chunk, &n,
                   nullptr) ||
        n == 0)
      return false;
    done += n;
  }
  return true;
}

bool File::Seek(int64_t position) {
  LARGE_INTEGER to;
  to.QuadPart = position;
  return IsOpen() && position >= 0 &&
         SetFilePointerEx(reinterpret_cast<HANDLE>(handle_), to, nullptr, FILE_BEGIN) != 0;
}

int64_t File::Size() {
  LARGE_INTEGER size;
  if (!IsOpen() || !GetFileSizeEx(reinterpret_cast<HANDLE>(handle_), &size)) return -1;
  return size.QuadPart;
}

bool File::SetDosTime(uint16_t dosDate, uint16_t dosTime) {
  return IsOpen() && SetHandleDosTime(reinterpret_cast<HANDLE>(handle_), dosDate, dosTime);
}

bool File::Truncate() { return IsOpen() && SetEndOfFile(reinterpret_cast<HANDLE>(handle_)) != 0; }

void File::Close() {
  if (IsOpen()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = kClosed;
}

}  // namespace platform
