// The parts of the file interface that are the same on every platform.
#include "platform/files.h"

namespace platform {

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = kClosed;
  }
  return *this;
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
  contents.clear();
  File file;
  if (!file.Open(path, File::Mode::Read)) return false;
  int64_t size = file.Size();
  if (size < 0) return false;
  contents.resize(size_t(size));
  if (file.Read(&contents[0], size) != size) {
    contents.clear();
    return false;
  }
  return true;
}

}  // namespace platform
