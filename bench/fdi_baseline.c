/* The baseline of bench/install-throughput.sh: the least a program can do to install the
 * same files from the same cabinets. One FDI context of the system's cabinet.dll, one FDICopy
 * per cabinet, read in place from its own .cab file, with the plain CRT file callbacks; each
 * file gets its stored date and time and attributes, as the setup's files do.
 *
 * usage: fdi_baseline.exe CABINET_ROOT TARGET_ROOT LIST
 * LIST names one cabinet a line, relative to CABINET_ROOT (such as "docs\help\f012.txt.cab");
 * its files go to the same relative folder below TARGET_ROOT, which is created as needed.
 * Prints the files and bytes written; exit code 0 only when every cabinet was extracted. */
#include <windows.h>

#include <fcntl.h>
#include <fdi.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#define KEPT_ATTRIBUTES (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE)

struct Extraction {
  const char* folder; /* where this cabinet's files go, without a trailing backslash */
  long files;
  long long bytes;
  int failed;
};

static FNALLOC(Alloc) { return malloc(cb ? cb : 1); }
static FNFREE(Free) { free(pv); }
static FNOPEN(Open) { return _open(pszFile, oflag | _O_BINARY, pmode); }
static FNREAD(Read) { return (UINT)_read((int)hf, pv, cb); }
static FNWRITE(Write) { return (UINT)_write((int)hf, pv, cb); }
static FNCLOSE(Close) { return _close((int)hf); }
static FNSEEK(Seek) { return _lseek((int)hf, dist, seektype); }

static FNFDINOTIFY(Notify) {
  struct Extraction* extraction = pfdin->pv;
  char path[MAX_PATH];
  switch (fdint) {
    case fdintCOPY_FILE: {
      if (snprintf(path, sizeof path, "%s\\%s", extraction->folder, pfdin->psz1) >= (int)sizeof path) {
        extraction->failed = 1;
        return -1;
      }
      int fd = _open(path, _O_BINARY | _O_CREAT | _O_TRUNC | _O_WRONLY | _O_SEQUENTIAL, _S_IREAD | _S_IWRITE);
      if (fd < 0) extraction->failed = 1;
      extraction->bytes += pfdin->cb;
      return fd;
    }
    case fdintCLOSE_FILE_INFO: {
      FILETIME local, utc;
      HANDLE handle = (HANDLE)_get_osfhandle((int)pfdin->hf);
      if (!DosDateTimeToFileTime(pfdin->date, pfdin->time, &local) || !LocalFileTimeToFileTime(&local, &utc) ||
          !SetFileTime(handle, &utc, NULL, &utc))
        extraction->failed = 1;
      _close((int)pfdin->hf);
      snprintf(path, sizeof path, "%s\\%s", extraction->folder, pfdin->psz1);
      if (!SetFileAttributesA(path, pfdin->attribs & KEPT_ATTRIBUTES)) extraction->failed = 1;
      extraction->files++;
      return TRUE;
    }
    case fdintNEXT_CABINET:
      return -1;
    default:
      return 0;
  }
}

/* Creates FOLDER and every missing level above it (the root part must exist). */
static int EnsureFolder(char* folder) {
  for (char* p = folder + 3; *p; ++p) {
    if (*p != '\\') continue;
    *p = 0;
    BOOL made = CreateDirectoryA(folder, NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
    *p = '\\';
    if (!made) return 0;
  }
  return CreateDirectoryA(folder, NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: fdi_baseline CABINET_ROOT TARGET_ROOT LIST\n");
    return 2;
  }
  FILE* list = fopen(argv[3], "r");
  if (!list) {
    fprintf(stderr, "cannot read %s\n", argv[3]);
    return 1;
  }
  ERF erf;
  HFDI context = FDICreate(Alloc, Free, Open, Read, Write, Close, Seek, cpuUNKNOWN, &erf);
  if (!context) {
    fprintf(stderr, "FDICreate failed (%d)\n", erf.erfOper);
    return 1;
  }
  long files = 0, cabinets = 0;
  long long bytes = 0;
  int status = 0;
  char line[MAX_PATH];
  while (fgets(line, sizeof line, list)) {
    line[strcspn(line, "\r\n")] = 0;
    if (!line[0]) continue;
    /* "sub\name.cab": the cabinet's folder "ROOT\sub\" and name, the target "TARGET\sub". */
    char* slash = strrchr(line, '\\');
    const char* relativeFolder = slash ? line : "";
    const char* name = slash ? slash + 1 : line;
    if (slash) *slash = 0;
    char cabinetFolder[MAX_PATH], target[MAX_PATH], cabinetName[MAX_PATH];
    snprintf(cabinetFolder, sizeof cabinetFolder, "%s\\%s%s", argv[1], relativeFolder, slash ? "\\" : "");
    snprintf(target, sizeof target, "%s%s%s", argv[2], slash ? "\\" : "", relativeFolder);
    snprintf(cabinetName, sizeof cabinetName, "%s", name);
    struct Extraction extraction = {target, 0, 0, 0};
    if (!EnsureFolder(target) ||
        !FDICopy(context, cabinetName, cabinetFolder, 0, Notify, NULL, &extraction) || extraction.failed) {
      fprintf(stderr, "failed: %s%s\n", cabinetFolder, cabinetName);
      status = 1;
      break;
    }
    files += extraction.files;
    bytes += extraction.bytes;
    cabinets++;
  }
  fclose(list);
  FDIDestroy(context);
  printf("%ld cabinets, %ld files, %lld bytes\n", cabinets, files, bytes);
  return status;
}
