// Cabinets on the simulated Windows, through libmspack. libmspack does all of its file access
// through an mspack_system: ours reads the cabinet from the simulated file system and hands the
// extracted data to the sink, so nothing is written anywhere else. libmspack checks the CFDATA
// checksums (salvage mode and the MSZIP fix-up stay off), so a damaged block fails as it does
// with FDI.
#include <mspack.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/cabinet.h"
#include "platform/files.h"

namespace platform {

namespace {

// libmspack opens the cabinet for reading, and for writing nothing but the file that the
// current extraction goes to, which is always the sink.
struct Stream {
  CabinetSink* sink = nullptr;  // set for the sink's stream only
  File file;
  int64_t position = 0;
};

struct System {
  mspack_system base;  // first, so that libmspack's self pointer is ours
  Stream sinkStream;
};

Stream* StreamOf(mspack_file* file) { return reinterpret_cast<Stream*>(file); }

mspack_file* OpenStream(mspack_system* self, const char* filename, int mode) {
  System* system = reinterpret_cast<System*>(self);
  if (mode == MSPACK_SYS_OPEN_WRITE) return reinterpret_cast<mspack_file*>(&system->sinkStream);
  if (mode != MSPACK_SYS_OPEN_READ) return nullptr;
  Stream* stream = new (std::nothrow) Stream;
  if (!stream) return nullptr;
  if (!stream->file.Open(filename, File::Mode::Read)) {
    delete stream;
    return nullptr;
  }
  return reinterpret_cast<mspack_file*>(stream);
}

void CloseStream(mspack_file* file) {
  Stream* stream = StreamOf(file);
  if (!stream->sink) delete stream;
}

int ReadStream(mspack_file* file, void* buffer, int bytes) {
  Stream* stream = StreamOf(file);
  if (stream->sink || bytes < 0) return -1;
  int64_t n = stream->file.Read(buffer, bytes);
  if (n < 0) return -1;
  stream->position += n;
  return int(n);
}

int WriteStream(mspack_file* file, void* buffer, int bytes) {
  Stream* stream = StreamOf(file);
  if (!stream->sink || bytes < 0) return -1;
  return stream->sink->WriteData(buffer, size_t(bytes)) ? bytes : -1;
}

int SeekStream(mspack_file* file, off_t offset, int mode) {
  Stream* stream = StreamOf(file);
  if (stream->sink) return -1;
  int64_t base = 0;
  if (mode == MSPACK_SYS_SEEK_CUR) {
    base = stream->position;
  } else if (mode == MSPACK_SYS_SEEK_END) {
    base = stream->file.Size();
    if (base < 0) return -1;
  } else if (mode != MSPACK_SYS_SEEK_START) {
    return -1;
  }
  int64_t to = base + int64_t(offset);
  if (to < 0 || !stream->file.Seek(to)) return -1;
  stream->position = to;
  return 0;
}

off_t TellStream(mspack_file* file) {
  Stream* stream = StreamOf(file);
  return stream->sink ? off_t(-1) : off_t(stream->position);
}

void Message(mspack_file*, const char*, ...) {}  // warnings stay quiet; errors come back as codes
void* Alloc(mspack_system*, size_t bytes) { return std::malloc(bytes ? bytes : 1); }
void Free(void* p) { std::free(p); }
void Copy(void* from, void* to, size_t bytes) { std::memmove(to, from, bytes); }

// The stored MS-DOS date and time, put back together from libmspack's fields.
uint16_t DosDate(const mscabd_file& f) {
  return uint16_t(((f.date_y - 1980) & 0x7F) << 9 | (f.date_m & 0x0F) << 5 | (f.date_d & 0x1F));
}
uint16_t DosTime(const mscabd_file& f) {
  return uint16_t((f.time_h & 0x1F) << 11 | (f.time_m & 0x3F) << 5 | ((f.time_s >> 1) & 0x1F));
}

}  // namespace

bool DecodeCabinet(const std::string& cabinetPath, CabinetSink& sink) {
  System system;
  system.base = mspack_system{OpenStream, CloseStream, ReadStream, WriteStream, SeekStream, TellStream,
                              Message,    Alloc,       Free,       Copy,        nullptr};
  system.sinkStream.sink = &sink;

  mscab_decompressor* decompressor = mspack_create_cab_decompressor(&system.base);
  if (!decompressor) return false;
  bool ok = false;
  if (mscabd_cabinet* cabinet = decompressor->open(decompressor, cabinetPath.c_str())) {
    ok = true;
    for (mscabd_file* f = cabinet->files; ok && f; f = f->next) {
      CabinetFile file;
      file.name = f->filename ? f->filename : "";
      file.size = f->length;
      file.dosDate = DosDate(*f);
      file.dosTime = DosTime(*f);
      file.attributes = uint16_t(f->attribs);
      // The output name is only handed back to our open, which sends every write to the sink.
      ok = sink.BeginFile(file) && decompressor->extract(decompressor, f, "sink") == MSPACK_ERR_OK &&
           sink.EndFile();
    }
    decompressor->close(decompressor, cabinet);
  }
  mspack_destroy_cab_decompressor(decompressor);
  return ok;
}

}  // namespace platform
