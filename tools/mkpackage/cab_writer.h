// A writer of single-folder, single-cabinet MS-CAB files compressed with MSZIP, the format the
// setup stub hands to the system's cabinet extractor.
//
//   CFHEADER   "MSCF", total length, offset of the first CFFILE, version 1.3, one folder
//   CFFOLDER   offset of the first CFDATA, number of CFDATA blocks, type 1 (MSZIP)
//   CFFILE...  size, offset in the folder's data, date, time, attributes, name and a zero
//   CFDATA...  checksum, packed length, unpacked length (at most 32,768), "CK" + deflate data
//
// The folder's data runs through all files back to back; every block but the last holds
// exactly 32,768 bytes. Each block is a complete deflate stream ending in a final block, and
// the reader keeps its 32 KB window from one block to the next, so a block may refer back into
// the one before. A cabinet without data (only empty files) has no CFDATA block at all.
#pragma once
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace cab {

constexpr uint32_t kBlockSize = 32768;
constexpr uint16_t kAttrReadOnly = 0x01;
constexpr uint16_t kAttrArchive = 0x20;

struct StoredFile {
  std::string name;  // stored name, 8-bit, no folder part for the stub's cabinets
  uint32_t size = 0;
  uint16_t dosDate = 0;
  uint16_t dosTime = 0;
  uint16_t attributes = kAttrArchive;
};

// The DOS date and time of a moment in local time, at two-second resolution (seconds are cut).
// Moments before 1980 give 1 January 1980, 00:00; after 2107 the last day of 2107.
void ToDosDateTime(time_t moment, uint16_t& dosDate, uint16_t& dosTime);

// The checksum of a CFDATA block as the format defines it: the 32-bit little-endian words of
// the data XORed onto the seed, the one to three bytes left over taken in reverse order.
uint32_t Checksum(const void* data, size_t size, uint32_t seed);

// Where the cabinet's bytes go. Offsets count from the cabinet's first byte.
class Sink {
 public:
  virtual ~Sink() = default;
  virtual bool Append(const void* data, size_t size) = 0;
  virtual bool Overwrite(uint64_t offset, const void* data, size_t size) = 0;
};

class StringSink : public Sink {
 public:
  explicit StringSink(std::string& out) : out_(out), start_(out.size()) {}
  bool Append(const void* data, size_t size) override;
  bool Overwrite(uint64_t offset, const void* data, size_t size) override;

 private:
  std::string& out_;
  size_t start_;
};

// Appends to an open file at its end; the cabinet starts where the file ended.
class FileSink : public Sink {
 public:
  explicit FileSink(FILE* file);
  bool Append(const void* data, size_t size) override;
  bool Overwrite(uint64_t offset, const void* data, size_t size) override;

 private:
  FILE* file_;
  int64_t start_;
  int64_t end_;
};

// Usage: Begin with every file's entry, then Write exactly the sum of their sizes (the files'
// contents in the order given), then Finish. Each call returns false on a failure, with
// Error() telling what; the sink then holds an incomplete cabinet.
class Writer {
 public:
  // level: zlib's compression level, 1 to 9.
  Writer(Sink& sink, int level);
  ~Writer();
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  bool Begin(const std::vector<StoredFile>& files);
  bool Write(const void* data, size_t size);
  bool Finish();

  uint64_t Length() const { return length_; }  // after Finish: the cabinet's byte length
  const std::string& Error() const { return error_; }

 private:
  bool Fail(const std::string& message);
  bool FlushBlock();

  struct Deflater;
  Sink& sink_;
  int level_;
  std::unique_ptr<Deflater> deflater_;
  std::string block_;       // unpacked bytes of the block being filled
  std::string packed_;      // scratch for one packed block
  uint64_t expected_ = 0;   // bytes that Write must still deliver
  uint32_t blocks_ = 0;
  uint64_t length_ = 0;
  bool begun_ = false;
  std::string error_;
};

}  // namespace cab
