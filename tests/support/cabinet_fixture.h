// Test cabinets. MakeCabinet (host only, cabinet_fixture.cpp) writes one with gcab, the
// independent writer. The rest is inline and portable, so that the Windows tests can use it
// too: reading the layout of a single cabinet and patching it the way a damaged or hostile
// package would look.
//
// Layout of the cabinets gcab writes (MS-CAB, no reserve fields, one folder):
//   CFHEADER  36 bytes: "MSCF", ..., cbCabinet @8, coffFiles @16, ..., cFolders @26,
//             cFiles @28, flags @30
//   CFFOLDER  8 bytes each: coffCabStart @0, cCFData @4, typeCompress @6
//   CFFILE    16 bytes + name each: cbFile @0, uoffFolderStart @4, iFolder @8, date @10,
//             time @12, attribs @14, zero-terminated name @16
//   CFDATA    8 bytes + data each: csum @0, cbData @4, cbUncomp @6
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/cabinet.h"

namespace cabtest {

// 2011-03-14 15:09:26 UTC: an even second, as the cabinet keeps time in two-second steps.
constexpr int64_t kStoredTime = 1300115366;
constexpr uint16_t kStoredDosDate = (2011 - 1980) << 9 | 3 << 5 | 14;
constexpr uint16_t kStoredDosTime = 15 << 11 | 9 << 5 | 26 / 2;

struct CabEntry {
  std::string name;  // stored name; "\" or "/" separate folder parts
  std::string content;
  int64_t mtime = kStoredTime;  // Unix time, stored as that time of day in UTC
};

// Contents big enough for several CFDATA blocks (32 KiB each) that still compress to little;
// every 4 KiB differ from the others, so a block out of place shows.
inline std::string PatternData(size_t size) {
  std::string data(size, '\0');
  for (size_t i = 0; i < size; ++i) data[i] = char(i * 31 + (i >> 12));
  return data;
}

// A cabinet of these files made with `gcab -c -z` (MSZIP, with CFDATA checksums).
// Host only. Adds a test failure and returns "" when gcab fails.
std::string MakeCabinet(const std::vector<CabEntry>& entries);

inline uint32_t Get16(const std::string& b, size_t at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8;
}
inline uint32_t Get32(const std::string& b, size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }
inline void Put16(std::string& b, size_t at, uint32_t v) {
  b[at] = char(v & 0xFF);
  b[at + 1] = char((v >> 8) & 0xFF);
}
inline void Put32(std::string& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

struct StoredFile {
  size_t record;  // offset of its CFFILE
  std::string name;
};

struct Layout {
  std::vector<size_t> folders;  // offsets of the CFFOLDERs
  std::vector<StoredFile> files;
  std::vector<size_t> blocks;   // offsets of the CFDATA blocks, all folders in order
};

// Empty when the bytes are not a cabinet this reader understands.
inline Layout ReadLayout(const std::string& cab) {
  Layout layout;
  if (cab.size() < 36 || cab.compare(0, 4, "MSCF") != 0 || Get16(cab, 30) != 0) return layout;
  size_t folders = Get16(cab, 26), files = Get16(cab, 28);
  for (size_t i = 0; i < folders; ++i) layout.folders.push_back(36 + 8 * i);
  size_t at = Get32(cab, 16);
  for (size_t i = 0; i < files && at + 16 < cab.size(); ++i) {
    size_t end = cab.find('\0', at + 16);
    if (end == std::string::npos) break;
    layout.files.push_back({at, cab.substr(at + 16, end - at - 16)});
    at = end + 1;
  }
  for (size_t folder : layout.folders) {
    size_t block = Get32(cab, folder);
    for (uint32_t n = Get16(cab, folder + 4); n > 0 && block + 8 <= cab.size(); --n) {
      layout.blocks.push_back(block);
      block += 8 + Get16(cab, block + 4);
    }
  }
  return layout;
}

inline void SetStoredAttributes(std::string& cab, size_t file, uint16_t attributes) {
  Put16(cab, ReadLayout(cab).files.at(file).record + 14, attributes);
}

inline void SetStoredDateTime(std::string& cab, size_t file, uint16_t dosDate, uint16_t dosTime) {
  size_t record = ReadLayout(cab).files.at(file).record;
  Put16(cab, record + 10, dosDate);
  Put16(cab, record + 12, dosTime);
}

// Renames a stored file; the header stays consistent when the name's length changes.
inline void SetStoredName(std::string& cab, size_t file, const std::string& name) {
  Layout layout = ReadLayout(cab);
  const StoredFile& stored = layout.files.at(file);
  cab.replace(stored.record + 16, stored.name.size(), name);
  long delta = long(name.size()) - long(stored.name.size());
  Put32(cab, 8, uint32_t(long(Get32(cab, 8)) + delta));
  for (size_t folder : layout.folders) Put32(cab, folder, uint32_t(long(Get32(cab, folder)) + delta));
}

// Flips one byte inside the data of a CFDATA block, so that its checksum no longer matches.
inline void CorruptDataBlock(std::string& cab, size_t block) {
  size_t at = ReadLayout(cab).blocks.at(block);
  cab[at + 8 + Get16(cab, at + 4) / 2] ^= 0x55;
}

// Keeps what the decoder hands over; can refuse one step for one file (counted from 0).
class RecordingSink : public platform::CabinetSink {
 public:
  enum class Step { None, Begin, Write, End };
  Step refuse = Step::None;
  size_t refuseAt = 0;

  std::vector<platform::CabinetFile> files;
  std::vector<std::string> contents;
  int ends = 0;

  bool BeginFile(const platform::CabinetFile& file) override {
    files.push_back(file);
    contents.emplace_back();
    return !Refused(Step::Begin);
  }
  bool WriteData(const void* data, size_t size) override {
    contents.back().append(static_cast<const char*>(data), size);
    return !Refused(Step::Write);
  }
  bool EndFile() override {
    ++ends;
    return !Refused(Step::End);
  }

 private:
  bool Refused(Step step) const { return refuse == step && files.size() - 1 == refuseAt; }
};

}  // namespace cabtest
