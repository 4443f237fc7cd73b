// zxextract: extracts cabinets the way the setup does (ExtractCabinet over the FDI of the
// system's cabinet.dll), so that a shell test can compare what lands with what was packed.
//
//   zxextract LIST
//
// LIST is a text file with one "CABINET|FOLDER" line per cabinet (Windows paths). Output, one
// line each:
//   ok CABINET | failed CABINET
//   file FOLDER\NAME ATTRIBUTES     every file in FOLDER after an extraction, its attributes
//                                   as GetFileAttributes gives them, in hexadecimal
// Exit status: 0 when every cabinet extracted, 1 when one failed, 2 for a bad command line.
#include <windows.h>

#include <cstdio>
#include <string>

#include "package/cabinet.h"
#include "platform/files.h"

int main(int argc, char** argv) {
  std::string list;
  if (argc != 2 || !platform::ReadWholeFile(argv[1], list)) {
    std::fprintf(stderr, "usage: zxextract LIST (a file of CABINET|FOLDER lines)\n");
    return 2;
  }
  int status = 0;
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find('\n', start);
    if (end == std::string::npos) end = list.size();
    std::string line = list.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t bar = line.find('|');
    if (bar == std::string::npos) continue;
    const std::string cabinet = line.substr(0, bar), folder = line.substr(bar + 1);
    const bool ok = ExtractCabinet(cabinet, folder);
    std::printf("%s %s\n", ok ? "ok" : "failed", cabinet.c_str());
    if (!ok) status = 1;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) continue;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        std::printf("file %s\\%s %02lx\n", folder.c_str(), found.cFileName, (unsigned long)found.dwFileAttributes);
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  return status;
}
