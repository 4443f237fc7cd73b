#include "package/workdir.h"

#include "platform/files.h"
#include "platform/path.h"
#include "platform/process.h"

std::string WorkDir;

namespace {

bool created = false;
uint32_t randomSeed = 0;

// A linear congruential generator, the classic one of Pascal runtimes.
int RandomDigit() {
  randomSeed = randomSeed * 134775813u + 1u;
  return int((uint64_t(randomSeed) * 10u) >> 32);
}

std::string DrawName() {
  std::string name = path::WithoutTrailingBackslash(platform::TempFolder()) + "\\ZXTMP";
  for (int i = 0; i < 3; ++i) name += char('0' + RandomDigit());
  return name;
}

constexpr int kDraws = 50;  // of 1,000 names

}  // namespace

void DrawWorkDir() {
  randomSeed = platform::ClockSeed();
  WorkDir = DrawName();
}

bool CreateWorkDir() {
  for (int draw = 0; draw < kDraws; ++draw, WorkDir = DrawName()) {
    if (platform::CreateFolder(WorkDir)) {
      created = true;
      return true;
    }
    // Only a name that is taken is worth another draw; anything else fails every time.
    if (platform::ReadAttributes(WorkDir) == platform::kNoAttributes) break;
  }
  WorkDir.clear();
  return false;
}

void RemoveWorkDir() {
  if (!created || WorkDir.empty()) return;
  for (const platform::FolderEntry& entry : platform::ListFolder(WorkDir + "\\*")) {
    if (entry.isFolder) continue;
    std::string file = path::Join(WorkDir, entry.name);
    // An extracted file may carry the read-only attribute; it is ours to delete all the same.
    uint32_t attributes = platform::ReadAttributes(file);
    if (attributes != platform::kNoAttributes && (attributes & platform::kAttrReadOnly))
      platform::WriteAttributes(file, attributes & ~platform::kAttrReadOnly);
    platform::RemoveFile(file);
  }
  if (platform::FolderExists(WorkDir)) platform::RemoveFolder(WorkDir);
}

void ResetWorkDir() {
  WorkDir.clear();
  created = false;
}
