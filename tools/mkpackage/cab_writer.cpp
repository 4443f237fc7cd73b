#include "mkpackage/cab_writer.h"

#include <zlib.h>

#include <cstring>

namespace cab {

namespace {

constexpr size_t kHeaderSize = 36;
constexpr size_t kFolderSize = 8;
constexpr size_t kFileEntrySize = 16;
constexpr size_t kDataHeaderSize = 8;
constexpr size_t kMaxNameLength = 255;       // the format's 256 bytes with the terminator
constexpr uint32_t kMaxBlocks = 0xFFFF;      // CFFOLDER counts its blocks in 16 bits
constexpr uint16_t kTypeMszip = 1;

void Put16(std::string& out, uint32_t value) {
  out.push_back(char(value & 0xFF));
  out.push_back(char((value >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

void ToDosDateTime(time_t moment, uint16_t& dosDate, uint16_t& dosTime) {
  struct tm local;
  if (!localtime_r(&moment, &local) || local.tm_year < 80) {
    dosDate = (0 << 9) | (1 << 5) | 1;
    dosTime = 0;
    return;
  }
  if (local.tm_year > 207) {
    dosDate = uint16_t((127 << 9) | (12 << 5) | 31);
    dosTime = uint16_t((23 << 11) | (59 << 5) | 29);
    return;
  }
  dosDate = uint16_t(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  // tm_sec may be 60 on a leap second; DOS time stops at 58.
  const int seconds = local.tm_sec > 59 ? 59 : local.tm_sec;
  dosTime = uint16_t((local.tm_hour << 11) | (local.tm_min << 5) | (seconds / 2));
}

uint32_t Checksum(const void* data, size_t size, uint32_t seed) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  uint32_t sum = seed;
  for (size_t words = size / 4; words > 0; --words, p += 4)
    sum ^= uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  uint32_t rest = 0;
  switch (size % 4) {
    case 3: rest |= uint32_t(*p++) << 16; [[fallthrough]];
    case 2: rest |= uint32_t(*p++) << 8; [[fallthrough]];
    case 1: rest |= uint32_t(*p++); break;
    default: break;
  }
  return sum ^ rest;
}

bool StringSink::Append(const void* data, size_t size) {
  out_.append(static_cast<const char*>(data), size);
  return true;
}

bool StringSink::Overwrite(uint64_t offset, const void* data, size_t size) {
  if (start_ + offset + size > out_.size()) return false;
  std::memcpy(&out_[start_ + offset], data, size);
  return true;
}

FileSink::FileSink(FILE* file) : file_(file) {
  start_ = end_ = (std::fseek(file_, 0, SEEK_END) == 0) ? int64_t(ftello(file_)) : -1;
}

bool FileSink::Append(const void* data, size_t size) {
  if (start_ < 0 || std::fwrite(data, 1, size, file_) != size) return false;
  end_ += int64_t(size);
  return true;
}

bool FileSink::Overwrite(uint64_t offset, const void* data, size_t size) {
  if (start_ < 0 || int64_t(offset + size) > end_ - start_) return false;
  bool ok = fseeko(file_, off_t(start_ + int64_t(offset)), SEEK_SET) == 0 &&
            std::fwrite(data, 1, size, file_) == size;
  return fseeko(file_, off_t(end_), SEEK_SET) == 0 && ok;
}

// One raw deflate stream runs through the whole folder, so its window always holds the 32 KB
// before the current block, the window the reader keeps. After each block a sync flush ends
// the deflate blocks on a byte boundary (with an empty stored block), and an empty final block
// with fixed codes closes the block's stream for the reader; the next block starts afresh
// from there.
struct Writer::Deflater {
  z_stream stream{};
  bool ready = false;
  ~Deflater() {
    if (ready) deflateEnd(&stream);
  }
};

Writer::Writer(Sink& sink, int level) : sink_(sink), level_(level), deflater_(new Deflater) {}

Writer::~Writer() = default;

bool Writer::Fail(const std::string& message) {
  if (error_.empty()) error_ = message;
  return false;
}

bool Writer::Begin(const std::vector<StoredFile>& files) {
  if (begun_) return Fail("cabinet begun twice");
  begun_ = true;
  if (files.size() > 0xFFFF) return Fail("more than 65,535 files in one cabinet");
  uint64_t dataSize = 0;
  size_t entriesSize = 0;
  for (const StoredFile& file : files) {
    if (file.name.empty() || file.name.size() > kMaxNameLength || file.name.find('\0') != std::string::npos)
      return Fail("stored name \"" + file.name + "\" is empty, too long or holds a zero byte");
    dataSize += file.size;
    entriesSize += kFileEntrySize + file.name.size() + 1;
  }
  if (dataSize > uint64_t(kMaxBlocks) * kBlockSize) return Fail("more than 2 GB of data in one cabinet");
  expected_ = dataSize;

  const uint32_t filesOffset = uint32_t(kHeaderSize + kFolderSize);
  const uint32_t dataOffset = uint32_t(filesOffset + entriesSize);
  std::string head;
  head.append("MSCF", 4);
  Put32(head, 0);           // reserved
  Put32(head, 0);           // cabinet length, set by Finish
  Put32(head, 0);           // reserved
  Put32(head, filesOffset);
  Put32(head, 0);           // reserved
  head.push_back(3);        // version 1.3
  head.push_back(1);
  Put16(head, 1);           // folders
  Put16(head, uint32_t(files.size()));
  Put16(head, 0);           // flags: no reserve, no previous or next cabinet
  Put16(head, 0);           // set id
  Put16(head, 0);           // number in the set
  Put32(head, dataOffset);  // CFFOLDER
  Put16(head, 0);           // blocks, set by Finish
  Put16(head, kTypeMszip);
  uint32_t folderOffset = 0;
  for (const StoredFile& file : files) {
    Put32(head, file.size);
    Put32(head, folderOffset);
    Put16(head, 0);  // folder 0
    Put16(head, file.dosDate);
    Put16(head, file.dosTime);
    Put16(head, file.attributes);
    head.append(file.name).push_back('\0');
    folderOffset += file.size;
  }
  length_ = head.size();
  if (!sink_.Append(head.data(), head.size())) return Fail("cannot write the cabinet");

  z_stream& z = deflater_->stream;
  // memLevel 9: more memory for the matcher, slightly smaller output at the same speed.
  if (deflateInit2(&z, level_, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK)
    return Fail("zlib could not start");
  deflater_->ready = true;
  block_.reserve(kBlockSize);
  return true;
}

bool Writer::Write(const void* data, size_t size) {
  if (!begun_ || !error_.empty()) return Fail("cabinet not begun");
  if (size > expected_) return Fail("more data than the files' sizes");
  expected_ -= size;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    size_t take = kBlockSize - block_.size();
    if (take > size) take = size;
    block_.append(p, take);
    p += take;
    size -= take;
    if (block_.size() == kBlockSize && !FlushBlock()) return false;
  }
  return true;
}

bool Writer::FlushBlock() {
  if (block_.empty()) return true;
  if (blocks_ == kMaxBlocks) return Fail("too many data blocks");
  const size_t n = block_.size();
  z_stream& z = deflater_->stream;
  packed_.assign("CK", 2);
  size_t used = 2;
  packed_.resize(n + n / 8 + 64);
  z.next_in = reinterpret_cast<Bytef*>(&block_[0]);
  z.avail_in = uInt(n);
  do {
    if (packed_.size() - used < 64) packed_.resize(packed_.size() * 2);
    z.next_out = reinterpret_cast<Bytef*>(&packed_[used]);
    z.avail_out = uInt(packed_.size() - used);
    int status = deflate(&z, Z_SYNC_FLUSH);
    if (status != Z_OK && status != Z_BUF_ERROR) return Fail("zlib failed");
    used = packed_.size() - z.avail_out;
  } while (z.avail_out == 0 || z.avail_in != 0);
  packed_.resize(used);
  packed_.append("\x03\x00", 2);  // empty final block, fixed codes
  // Data that does not shrink goes as one stored block; the reader's window is the same.
  if (packed_.size() > 2 + 5 + n) {
    packed_.assign("CK\x01", 3);
    Put16(packed_, uint32_t(n));
    Put16(packed_, uint32_t(~n & 0xFFFF));
    packed_.append(block_);
  }
  std::string head;
  Put32(head, 0);
  Put16(head, uint32_t(packed_.size()));
  Put16(head, uint32_t(n));
  const uint32_t sum = Checksum(head.data() + 4, 4, Checksum(packed_.data(), packed_.size(), 0));
  head[0] = char(sum & 0xFF), head[1] = char((sum >> 8) & 0xFF);
  head[2] = char((sum >> 16) & 0xFF), head[3] = char(sum >> 24);
  if (!sink_.Append(head.data(), head.size()) || !sink_.Append(packed_.data(), packed_.size()))
    return Fail("cannot write the cabinet");
  length_ += head.size() + packed_.size();
  ++blocks_;
  block_.clear();
  return true;
}

bool Writer::Finish() {
  if (!begun_ || !error_.empty()) return Fail("cabinet not begun");
  if (expected_ != 0) return Fail("less data than the files' sizes");
  if (!FlushBlock()) return false;
  if (length_ > 0xFFFFFFFFu) return Fail("cabinet longer than 4 GB");
  std::string length, blocks;
  Put32(length, uint32_t(length_));
  Put16(blocks, blocks_);
  if (!sink_.Overwrite(8, length.data(), 4) || !sink_.Overwrite(kHeaderSize + 4, blocks.data(), 2))
    return Fail("cannot write the cabinet");
  return true;
}

}  // namespace cab
