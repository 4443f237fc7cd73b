// The simulated file system: Windows paths mapped onto a host folder, names resolved without
// regard to case, attributes kept beside the files, read-only honoured as Windows does.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <map>

#include "platform/files.h"
#include "platform/sim/sim.h"
#include "platform/text.h"

namespace {

std::map<std::string, uint32_t>& Attributes() {  // by host path; files only
  static std::map<std::string, uint32_t> attributes;
  return attributes;
}

bool IsFolder(const std::string& host) {
  struct stat st;
  return !host.empty() && stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& host) {
  struct stat st;
  return !host.empty() && stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool Listed(const std::vector<std::string>& list, const std::string& path) {
  for (const std::string& entry : list)
    if (text::SameText(entry, path)) return true;
  return false;
}

bool ReadOnly(const std::string& host) {
  auto it = Attributes().find(host);
  return it != Attributes().end() && (it->second & platform::kAttrReadOnly);
}

bool MatchesMask(const char* name, const char* mask) {
  if (*mask == '\0') return *name == '\0';
  if (*mask == '*') return MatchesMask(name, mask + 1) || (*name && MatchesMask(name + 1, mask));
  if (*name == '\0') return false;
  if (*mask == '?' || text::LowerAscii(*mask) == text::LowerAscii(*name)) return MatchesMask(name + 1, mask + 1);
  return false;
}

}  // namespace

namespace sim {

std::string HostPath(const std::string& windowsPath) {
  std::string p = text::ReplaceAll(windowsPath, "/", "\\");
  if (p.size() < 3 || p[1] != ':' || p[2] != '\\') return "";  // only absolute paths with a drive
  std::string host = Machine().hostRoot + "/" + char(toupper(static_cast<unsigned char>(p[0])));
  size_t pos = 3;
  while (pos <= p.size()) {
    size_t end = p.find('\\', pos);
    if (end == std::string::npos) end = p.size();
    std::string part = p.substr(pos, end - pos);
    pos = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      size_t cut = host.rfind('/');
      if (cut > Machine().hostRoot.size() + 2) host.erase(cut);
      continue;
    }
    std::string match = part;
    if (DIR* dir = opendir(host.c_str())) {
      while (dirent* entry = readdir(dir))
        if (text::SameText(entry->d_name, part)) {
          match = entry->d_name;
          break;
        }
      closedir(dir);
    }
    host += "/" + match;
  }
  return host;
}

}  // namespace sim

namespace platform {

bool FileExists(const std::string& path) { return IsFile(sim::HostPath(path)); }
bool FolderExists(const std::string& path) { return IsFolder(sim::HostPath(path)); }

bool CreateFolder(const std::string& path) {
  if (Listed(sim::Machine().refusedFolders, path)) return false;
  std::string host = sim::HostPath(path);
  return !host.empty() && mkdir(host.c_str(), 0755) == 0;
}

bool RemoveFile(const std::string& path) {
  std::string host = sim::HostPath(path);
  if (!IsFile(host) || ReadOnly(host) || unlink(host.c_str()) != 0) return false;
  Attributes().erase(host);
  return true;
}

bool RemoveFolder(const std::string& path) {
  std::string host = sim::HostPath(path);
  return IsFolder(host) && rmdir(host.c_str()) == 0;
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
  std::string hostFrom = sim::HostPath(from), hostTo = sim::HostPath(to);
  if (!IsFile(hostFrom) || ReadOnly(hostTo) || IsFolder(hostTo)) return false;
  if (Listed(sim::Machine().refusedWrites, to)) return false;
  if (rename(hostFrom.c_str(), hostTo.c_str()) != 0) return false;
  auto it = Attributes().find(hostFrom);
  uint32_t attributes = it == Attributes().end() ? kAttrArchive : it->second;
  if (it != Attributes().end()) Attributes().erase(it);
  Attributes()[hostTo] = attributes;
  return true;
}

uint32_t ReadAttributes(const std::string& path) {
  std::string host = sim::HostPath(path);
  if (IsFolder(host)) return kAttrDirectory;
  if (!IsFile(host)) return kNoAttributes;
  auto it = Attributes().find(host);
  if (it == Attributes().end()) return kAttrArchive;
  return it->second ? it->second : kAttrNormal;  // as Windows reports a file with none
}

bool WriteAttributes(const std::string& path, uint32_t attributes) {
  std::string host = sim::HostPath(path);
  if (!IsFile(host)) return IsFolder(host);
  Attributes()[host] = attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive);
  return true;
}

namespace {
// The simulated machine's local time is UTC.
void DosToTimes(uint16_t dosDate, uint16_t dosTime, struct timespec times[2]) {
  struct tm t = {};
  t.tm_year = 80 + (dosDate >> 9);
  t.tm_mon = ((dosDate >> 5) & 15) - 1;
  t.tm_mday = dosDate & 31;
  t.tm_hour = dosTime >> 11;
  t.tm_min = (dosTime >> 5) & 63;
  t.tm_sec = (dosTime & 31) * 2;
  times[0].tv_sec = times[1].tv_sec = timegm(&t);
  times[0].tv_nsec = times[1].tv_nsec = 0;
}
}  // namespace

bool SetFileDosTime(const std::string& path, uint16_t dosDate, uint16_t dosTime) {
  std::string host = sim::HostPath(path);
  if (!IsFile(host) || ReadOnly(host)) return false;
  struct timespec times[2];
  DosToTimes(dosDate, dosTime, times);
  return utimensat(AT_FDCWD, host.c_str(), times, 0) == 0;
}

bool ReadFileDosTime(const std::string& path, uint16_t& dosDate, uint16_t& dosTime) {
  struct stat st;
  std::string host = sim::HostPath(path);
  if (host.empty() || stat(host.c_str(), &st) != 0) return false;
  struct tm t;
  time_t seconds = st.st_mtime;
  gmtime_r(&seconds, &t);
  if (t.tm_year < 80) return false;
  dosDate = uint16_t((t.tm_year - 80) << 9 | (t.tm_mon + 1) << 5 | t.tm_mday);
  dosTime = uint16_t(t.tm_hour << 11 | t.tm_min << 5 | t.tm_sec / 2);
  return true;
}

std::vector<FolderEntry> ListFolder(const std::string& pattern) {
  std::vector<FolderEntry> entries;
  size_t cut = pattern.find_last_of("\\/");
  if (cut == std::string::npos) return entries;
  std::string host = sim::HostPath(pattern.substr(0, cut + 1));
  std::string mask = pattern.substr(cut + 1);
  DIR* dir = opendir(host.c_str());
  if (!dir) return entries;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == ".." || !MatchesMask(name.c_str(), mask.c_str())) continue;
    entries.push_back({name, IsFolder(host + "/" + name)});
  }
  closedir(dir);
  return entries;
}

std::string TempFolder() { return sim::Machine().tempFolder; }

bool File::Open(const std::string& path, Mode mode) {
  Close();
  std::string host = sim::HostPath(path);
  if (host.empty() || IsFolder(host)) return false;
  int fd;
  if (mode == Mode::Read) {
    fd = open(host.c_str(), O_RDONLY);
  } else {
    if (ReadOnly(host) || Listed(sim::Machine().refusedWrites, path)) return false;
    bool existed = IsFile(host);
    if (existed && mode == Mode::CreateNew) return false;
    fd = open(host.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0 && !existed) Attributes()[host] = kAttrArchive;
  }
  if (fd < 0) return false;
  handle_ = fd;
  return true;
}

int64_t File::Read(void* buffer, int64_t count) {
  if (!IsOpen()) return -1;
  int64_t done = 0;
  while (done < count) {
    ssize_t n = read(int(handle_), static_cast<char*>(buffer) + done, size_t(count - done));
    if (n < 0) return -1;
    if (n == 0) break;
    done += n;
  }
  return done;
}

bool File::Write(const void* buffer, int64_t count) {
  if (!IsOpen()) return false;
  int64_t done = 0;
  while (done < count) {
    ssize_t n = write(int(handle_), static_cast<const char*>(buffer) + done, size_t(count - done));
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

bool File::Seek(int64_t position) {
  return IsOpen() && position >= 0 && lseek(int(handle_), off_t(position), SEEK_SET) == off_t(position);
}

int64_t File::Size() {
  struct stat st;
  if (!IsOpen() || fstat(int(handle_), &st) != 0) return -1;
  return st.st_size;
}

bool File::SetDosTime(uint16_t dosDate, uint16_t dosTime) {
  struct timespec times[2];
  DosToTimes(dosDate, dosTime, times);
  return IsOpen() && futimens(int(handle_), times) == 0;
}

bool File::Truncate() {
  if (!IsOpen()) return false;
  off_t position = lseek(int(handle_), 0, SEEK_CUR);
  return position >= 0 && ftruncate(int(handle_), position) == 0;
}

void File::Close() {
  if (IsOpen()) close(int(handle_));
  handle_ = kClosed;
}

}  // namespace platform
