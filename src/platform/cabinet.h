// Reading Microsoft Cabinet files: the Windows build goes through the FDI functions of the
// system's cabinet.dll, the host build through libmspack. Writing the files out is the caller's.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

struct CabinetFile {
  std::string name;       // stored name, may hold folder parts separated by "\"
  uint32_t size = 0;
  uint16_t dosDate = 0;   // stored date and time, local time
  uint16_t dosTime = 0;
  uint16_t attributes = 0;  // stored attribute bits (_A_RDONLY, _A_HIDDEN, ...)
};

// Receives the files of a cabinet one after the other. A false answer stops the decoding.
class CabinetSink {
 public:
  virtual bool BeginFile(const CabinetFile& file) = 0;
  virtual bool WriteData(const void* data, size_t size) = 0;
  virtual bool EndFile() = 0;

 protected:
  ~CabinetSink() = default;
};

// Decodes every file of a single cabinet in stored order. False when the library cannot be
// loaded, the cabinet cannot be opened, is not a cabinet, is corrupt or truncated, or the
// sink refused. A file the sink has begun may then be left incomplete.
bool DecodeCabinet(const std::string& cabinetPath, CabinetSink& sink);

}  // namespace platform
