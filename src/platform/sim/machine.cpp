#include <cstdlib>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/path.h"
#include "platform/sim/sim.h"

namespace sim {

namespace {

int RemoveEntry(const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }

void RemoveTree(const std::string& host) {
  if (!host.empty()) nftw(host.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

struct Holder {
  State state;
  ~Holder() { RemoveTree(state.hostRoot); }
};

Holder& TheHolder() {
  static Holder holder;
  return holder;
}

void CreateFolders(const std::string& windowsFolder) {
  if (windowsFolder.size() <= 3 || platform::FolderExists(windowsFolder)) return;
  CreateFolders(path::FolderOf(windowsFolder));
  platform::CreateFolder(windowsFolder);
}

}  // namespace

State& Machine() { return TheHolder().state; }

void Reset() {
  RemoveTree(TheHolder().state.hostRoot);
  TheHolder().state = State();
  const char* tmp = getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/simwin.XXXXXX";
  if (!mkdtemp(&pattern[0])) abort();
  TheHolder().state.hostRoot = pattern;
  mkdir((pattern + "/C").c_str(), 0755);  // the system drive
  CreateFolders(path::WithoutTrailingBackslash(TheHolder().state.tempFolder));
}

void WriteFile(const std::string& windowsPath, const std::string& contents) {
  CreateFolders(path::FolderOf(windowsPath));
  platform::File file;
  if (!file.Open(windowsPath, platform::File::Mode::Create) ||
      !file.Write(contents.data(), int64_t(contents.size())))
    abort();
}

std::string ReadFile(const std::string& windowsPath) {
  std::string contents;
  platform::ReadWholeFile(windowsPath, contents);
  return contents;
}

}  // namespace sim
