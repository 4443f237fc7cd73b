// Cabinets through the FDI functions of the system's cabinet.dll.
//
// The library is loaded once, on first use, by its full path in the system folder and never by
// its bare name: the default search order would take a cabinet.dll planted beside setup.exe.
//
// FDI reads the cabinet through our callbacks, which know nothing but the handle they are
// given. Every handle we hand out therefore points at a Stream that says what it is: the
// cabinet file (a Win32 handle, opened by the open callback) or the sink of the current call
// (returned from the copy notification, so that FDI writes a file's data straight into it).
// No file is opened for output here; writing files out is the caller's.
#include <cstdio>
#include <cstdlib>

#include "platform/cabinet.h"
#include "platform/win32/win32.h"

#include <fcntl.h>
#include <fdi.h>

namespace platform {

namespace {

using CreateFn = HFDI(DIAMONDAPI*)(PFNALLOC, PFNFREE, PFNOPEN, PFNREAD, PFNWRITE, PFNCLOSE, PFNSEEK, int, PERF);
using CopyFn = BOOL(DIAMONDAPI*)(HFDI, char*, char*, int, PFNFDINOTIFY, PFNFDIDECRYPT, void*);

struct Fdi {
  CreateFn create = nullptr;
  CopyFn copy = nullptr;
};

// The functions, or null when the library or one of them is missing. The outcome of the first
// attempt holds for the whole process.
const Fdi* LoadFdi() {
  static Fdi fdi;
  static int state = 0;  // 0 not tried, 1 loaded, -1 failed
  if (state == 0) {
    state = -1;
    std::string file = win32::SystemFolderFile("cabinet.dll");
    HMODULE module = file.empty() ? nullptr : LoadLibraryA(file.c_str());
    if (module) {
      fdi.create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(module, "FDICreate")));
      fdi.copy = reinterpret_cast<CopyFn>(reinterpret_cast<void*>(GetProcAddress(module, "FDICopy")));
      if (fdi.create && fdi.copy) state = 1;
    }
  }
  return state == 1 ? &fdi : nullptr;
}

struct Stream {
  HANDLE file;        // the cabinet; INVALID_HANDLE_VALUE for the sink
  CabinetSink* sink;  // the sink of this call; null for the cabinet
  bool failed;        // the sink refused something
};

// One call of DecodeCabinet, reached through FDI's user pointer in the notifications.
struct Call {
  Stream output;
  bool inFile;  // a file was begun and not yet ended
};

Stream* StreamOf(INT_PTR hf) { return reinterpret_cast<Stream*>(hf); }

FNALLOC(Alloc) { return std::malloc(cb ? cb : 1); }
FNFREE(Free) { std::free(pv); }

// FDI opens nothing but cabinets, and only for reading.
FNOPEN(Open) {
  (void)pmode;
  if ((oflag & (_O_WRONLY | _O_RDWR | _O_CREAT)) != 0) return -1;
  HANDLE h = CreateFileA(pszFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return -1;
  Stream* stream = static_cast<Stream*>(std::malloc(sizeof(Stream)));
  if (!stream) {
    CloseHandle(h);
    return -1;
  }
  stream->file = h;
  stream->sink = nullptr;
  stream->failed = false;
  return reinterpret_cast<INT_PTR>(stream);
}

FNREAD(Read) {
  Stream* stream = StreamOf(hf);
  DWORD n = 0;
  if (stream->sink || !ReadFile(stream->file, pv, cb, &n, nullptr)) return UINT(-1);
  return n;
}

FNWRITE(Write) {
  Stream* stream = StreamOf(hf);
  if (!stream->sink || stream->failed) return UINT(-1);
  if (!stream->sink->WriteData(pv, cb)) {
    stream->failed = true;
    return UINT(-1);
  }
  return cb;
}

// The sink's stream belongs to the call; FDI closes it too when it gives up inside a file.
FNCLOSE(Close) {
  Stream* stream = StreamOf(hf);
  if (stream->sink) return 0;
  BOOL closed = CloseHandle(stream->file);
  std::free(stream);
  return closed ? 0 : -1;
}

FNSEEK(Seek) {
  Stream* stream = StreamOf(hf);
  if (stream->sink) return -1;
  DWORD method = seektype == SEEK_CUR ? FILE_CURRENT : seektype == SEEK_END ? FILE_END : FILE_BEGIN;
  DWORD position = SetFilePointer(stream->file, dist, nullptr, method);
  return position == INVALID_SET_FILE_POINTER ? -1 : static_cast<__LONG32>(position);
}

// Wine's FDI goes on after a failed write and after a close notification that answered FALSE,
// and reports success in the end. So a refusal of the sink is kept here, and the next file's
// copy notification is what stops FDI.
FNFDINOTIFY(Notify) {
  Call* call = static_cast<Call*>(pfdin->pv);
  Stream& output = call->output;
  switch (fdint) {
    case fdintCOPY_FILE: {
      if (output.failed) return -1;
      CabinetFile file;
      file.name = pfdin->psz1 ? pfdin->psz1 : "";
      file.size = static_cast<uint32_t>(pfdin->cb);
      file.dosDate = pfdin->date;
      file.dosTime = pfdin->time;
      file.attributes = pfdin->attribs;
      call->inFile = true;
      if (!output.sink->BeginFile(file)) {
        output.failed = true;
        return -1;
      }
      return reinterpret_cast<INT_PTR>(&output);
    }
    case fdintCLOSE_FILE_INFO:
      call->inFile = false;
      if (!output.failed && !output.sink->EndFile()) output.failed = true;
      return output.failed ? FALSE : TRUE;
    case fdintNEXT_CABINET:
      return -1;  // a single cabinet only: a file continued elsewhere is a damaged package
    default:
      return 0;
  }
}

}  // namespace

bool DecodeCabinet(const std::string& cabinetPath, CabinetSink& sink) {
  const Fdi* fdi = LoadFdi();
  if (!fdi) return false;

  // FDICopy takes the folder (with its backslash) and the name apart and joins them again.
  size_t cut = cabinetPath.find_last_of("\\/:");
  std::string folder = cut == std::string::npos ? std::string() : cabinetPath.substr(0, cut + 1);
  std::string name = cut == std::string::npos ? cabinetPath : cabinetPath.substr(cut + 1);

  // One context serves every cabinet of the process: creating one allocates the decoders.
  static ERF erf = {};
  static HFDI context = fdi->create(Alloc, Free, Open, Read, Write, Close, Seek, cpuUNKNOWN, &erf);
  if (!context) return false;
  Call call = {{INVALID_HANDLE_VALUE, &sink, false}, false};
  BOOL copied = fdi->copy(context, &name[0], &folder[0], 0, Notify, nullptr, &call);
  return copied && !call.inFile && !call.output.failed;
}

}  // namespace platform
