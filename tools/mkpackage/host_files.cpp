// The one platform function the script reader needs, over the host's files: the tool reads
// project files by their host paths.
#include <cstdio>

#include "platform/files.h"

namespace platform {

bool ReadWholeFile(const std::string& path, std::string& contents) {
  contents.clear();
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) contents.append(buffer, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) contents.clear();
  return ok;
}

}  // namespace platform
