// Building a setup package from a project folder.
//
// The project folder holds setup.ini as the author writes it: the second field of each
// [Files] entry names the source file, relative to the folder ("\" and "/" both separate
// folders), where the package's copy holds the length of the file's cabinet. The package:
//
//   stub                  the setup program, padded with zero bytes to 250,368 when shorter
//   size field            ten decimal digits: L, the length of the configuration cabinet
//   configuration cabinet setup.ini as rewritten, then *.lng, zxwizard.bmp, zxheader.bmp,
//                         L*.rtf, R*.rtf of the project folder (flat), sorted by name
//   per-file cabinets     one per non-empty [Files] entry 0 .. FilesCount - 1, in key order
//   trailer               ten decimal digits: the position of the size field
//
// FilesCount: the project's value when it sets one; otherwise the number of [Files] keys
// "0", "1", ... that follow one another from "0" without a gap (an empty key counts, as the
// setup passes over it). FilesSize: the project's value when it sets one; otherwise the sum of
// the source files' sizes. Every other line of setup.ini stays as written.
//
// What the setup cannot start without comes from the tool when the project folder lacks it,
// each piece on its own, and a project's own file always wins: with no *.lng file, every
// built-in language (English and its translations, built into the tool); with no zxwizard.bmp
// or no zxheader.bmp, a picture the tool paints (default_pictures.h). Each fallback is noted.
//
// On an error nothing is changed on disk: the package is written to a temporary file beside
// the output and renamed over it at the end.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mkpackage {

constexpr int64_t kFixedPackageOffset = 250368;

struct Progress {
  size_t filesDone, filesTotal;
  uint64_t bytesDone, bytesTotal;
};

struct BuildOptions {
  std::string projectDir;
  std::string output;
  std::string stub;
  bool strict = false;      // warnings are errors
  int level = 9;            // zlib level
  std::function<void(const Progress&)> progress;  // called as the files are packed
};

struct BuildResult {
  bool ok = false;
  std::vector<std::string> errors;
  std::vector<std::string> warnings;  // with strict set, these are also errors
  std::vector<std::string> notes;     // what the tool supplied in the project's place
  size_t filesPacked = 0;
  uint64_t packageSize = 0;
};

BuildResult BuildPackage(const BuildOptions& options);

// The stub beside the tool: build/win/setup.exe for build/host/mkpackage; empty when the tool
// cannot find its own path.
std::string DefaultStubPath();

}  // namespace mkpackage
