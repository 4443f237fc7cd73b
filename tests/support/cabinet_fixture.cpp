#include "cabinet_fixture.h"

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

namespace cabtest {

namespace {

int RemoveEntry(const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }

std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

bool WriteHostFile(const std::string& path, const std::string& contents, int64_t mtime) {
  for (size_t cut = path.find('/', 1); cut != std::string::npos; cut = path.find('/', cut + 1))
    mkdir(path.substr(0, cut).c_str(), 0755);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool written = std::fwrite(contents.data(), 1, contents.size(), f) == contents.size();
  if (std::fclose(f) != 0) written = false;
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = time_t(mtime);
  times[0].tv_nsec = times[1].tv_nsec = 0;
  return written && utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace

std::string MakeCabinet(const std::vector<CabEntry>& entries) {
  const char* tmp = getenv("TMPDIR");
  std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/gcab.XXXXXX";
  if (!mkdtemp(&folder[0])) {
    ADD_FAILURE() << "no temporary folder for gcab";
    return "";
  }
  // gcab stores each name as given, relative to the folder it runs in, with "\" separators.
  std::string command = "cd " + Quoted(folder) + " && TZ=UTC gcab -c -z out.cab";
  bool written = true;
  for (const CabEntry& entry : entries) {
    std::string name = entry.name;
    for (char& c : name)
      if (c == '\\') c = '/';
    written = written && WriteHostFile(folder + "/" + name, entry.content, entry.mtime);
    command += " " + Quoted(name);
  }
  command += " >/dev/null 2>&1";
  std::string cab;
  if (!written) {
    ADD_FAILURE() << "could not write the files to pack in " << folder;
  } else if (std::system(command.c_str()) != 0) {
    ADD_FAILURE() << "gcab failed: " << command;
  } else if (FILE* f = std::fopen((folder + "/out.cab").c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) cab.append(buffer, n);
    std::fclose(f);
  }
  nftw(folder.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
  return cab;
}

}  // namespace cabtest
