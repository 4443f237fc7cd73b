// Helpers of the builder's tests: temporary folders, files, running programs, and reading a
// package and its cabinets back with independent readers (cabextract, libmspack).
#pragma once
#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace testutil {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& contents);  // creates folders
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
std::vector<std::string> ListFolder(const std::string& path);  // names, sorted

// Seeded data: text-like lines, or bytes that do not compress.
std::string TextData(size_t size, uint32_t seed);
std::string RandomData(size_t size, uint32_t seed);
// A 24-bit Windows bitmap of random pixels, one the setup's picture loader accepts.
std::string RandomBitmap(int width, int height, uint32_t seed);

// A file that passes for a Windows program: "MZ", e_lfanew and "PE\0\0", zero-padded.
std::string FakeStub(size_t size);

struct RunResult {
  int exitCode;
  std::string output;  // stdout and stderr
};
RunResult Run(const std::string& command);
std::string ShellQuote(const std::string& s);

// The package read back by its layout.
struct Package {
  int64_t offset = -1;           // P, from the trailer
  std::string configuration;     // the configuration cabinet
  std::vector<std::string> fileCabinets;  // by the rewritten [Files] sizes, in key order
  std::string setupIni;          // setup.ini out of the configuration cabinet
  std::string problem;           // empty when the layout holds together
};
Package ReadPackage(const std::string& path, const std::string& scratchDir);

struct CabFile {
  std::string name;
  std::string data;
  uint16_t dosDate, dosTime, attributes;
};
// Every file of a cabinet as libmspack reads it; `problem` tells what failed.
std::vector<CabFile> ReadWithMspack(const std::string& cabinet, const std::string& scratchDir, std::string& problem);
// cabextract -t says every file is OK, and extracting gives these files (name -> contents);
// an empty result means all is well, otherwise it says what differs.
std::string CheckWithCabextract(const std::string& cabinet, const std::map<std::string, std::string>& expected,
                                const std::string& scratchDir);

// The DOS date and time as a host moment in local time.
time_t FromDos(uint16_t dosDate, uint16_t dosTime);

}  // namespace testutil
