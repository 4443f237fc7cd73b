#include "package/locator.h"

#include <string>

#include "script/ini_file.h"

int32_t PackageOffset = 0;

namespace {

bool ReadAt(platform::File& file, int64_t position, void* buffer, int64_t count) {
  return position >= 0 && file.Seek(position) && file.Read(buffer, count) == count;
}

// The ten-character field at `position` as an integer; nothing when it cannot be read or
// does not convert.
std::optional<int32_t> ReadField(platform::File& file, int64_t position) {
  char field[kSizeFieldLength];
  if (!ReadAt(file, position, field, kSizeFieldLength)) return std::nullopt;
  return ParseInteger(std::string(field, kSizeFieldLength));
}

uint32_t U32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

// Signing the finished setup appends a certificate table that the PE header's security
// directory points to; the package, and its trailer, then end where that table begins
// (followed by up to seven bytes of zero padding to the table's 8-byte alignment).
// Returns the end of the package, or the file size for an unsigned file.
int64_t PackageEnd(platform::File& file, int64_t fileSize) {
  unsigned char dos[64];
  if (!ReadAt(file, 0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return fileSize;
  int64_t pe = U32(dos + 0x3C);
  unsigned char header[24 + 112 + 8 * 5];
  if (!ReadAt(file, pe, header, sizeof header) || U32(header) != 0x00004550) return fileSize;
  const unsigned char* optional = header + 24;
  uint16_t magic = uint16_t(optional[0] | optional[1] << 8);
  size_t directories = magic == 0x10b ? 96 : magic == 0x20b ? 112 : 0;
  if (directories == 0 || U32(optional + directories - 4) <= 4) return fileSize;
  const unsigned char* security = optional + directories + 4 * 8;
  int64_t tableStart = U32(security), tableSize = U32(security + 4);
  if (tableSize == 0 || tableStart + tableSize != fileSize) return fileSize;
  int64_t end = tableStart;
  unsigned char byte;
  for (int pad = 0; pad < 8 && end > 0 && ReadAt(file, end - 1, &byte, 1) && byte == 0; ++pad) --end;
  return end;
}

std::optional<int32_t> ReadTrailer(platform::File& file, int64_t fileSize) {
  std::optional<int32_t> offset = ReadField(file, fileSize - kSizeFieldLength);
  if (offset) return offset;
  int64_t end = PackageEnd(file, fileSize);
  if (end == fileSize) return std::nullopt;
  return ReadField(file, end - kSizeFieldLength);
}

}  // namespace

bool LocatePackage(platform::File& stub, PackageLocation& location) {
  int64_t fileSize = stub.Size();
  if (fileSize < 0) return false;
  // A stub too short for the fixed position, or without a number there, names the package
  // position in its trailer.
  std::optional<int32_t> offset = kFixedPackageOffset;
  std::optional<int32_t> length = ReadField(stub, kFixedPackageOffset);
  if (!length) {
    offset = ReadTrailer(stub, fileSize);
    if (!offset || *offset < 0) return false;
    length = ReadField(stub, *offset);
  }
  if (!length || *length < 0 || int64_t(*offset) + kSizeFieldLength + *length > fileSize) return false;
  location.offset = *offset;
  location.configLength = *length;
  return true;
}
