#include "test_util.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <mspack.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "script/ini_file.h"
#include "script/list_entry.h"

namespace testutil {

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/mkpackage-test.XXXXXX";
  if (!mkdtemp(&pattern[0])) std::abort();
  path_ = pattern;
}

TempDir::~TempDir() { std::system(("chmod -R u+w " + ShellQuote(path_) + "; rm -rf " + ShellQuote(path_)).c_str()); }

void WriteFile(const std::string& path, const std::string& contents) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    mkdir(path.substr(0, slash).c_str(), 0755);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(contents.data(), 1, contents.size(), f);
  std::fclose(f);
}

std::string ReadFile(const std::string& path) {
  std::string contents;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return contents;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) contents.append(buffer, n);
  std::fclose(f);
  return contents;
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  if (DIR* d = opendir(path.c_str())) {
    while (dirent* e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string TextData(size_t size, uint32_t seed) {
  static const char* const words[] = {"setup", "install", "folder", "program", "the", "of", "window",
                                      "registry", "value", "shortcut", "file", "and", "\r\n"};
  std::mt19937 random(seed);
  std::string data;
  while (data.size() < size) {
    data += words[random() % 13];
    data += ' ';
  }
  data.resize(size);
  return data;
}

std::string RandomData(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::string data(size, '\0');
  for (char& c : data) c = char(random() & 0xFF);
  return data;
}

std::string RandomBitmap(int width, int height, uint32_t seed) {
  const uint32_t stride = (uint32_t(width) * 3 + 3) / 4 * 4, pixels = stride * uint32_t(height);
  std::string bmp = "BM";
  auto put = [&bmp](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp += char(value >> (8 * i));
  };
  put(54 + pixels, 4), put(0, 4), put(54, 4);                             // file header
  put(40, 4), put(width, 4), put(height, 4), put(1, 2), put(24, 2);      // info header
  put(0, 4), put(pixels, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
  return bmp + RandomData(pixels, seed);
}

std::string FakeStub(size_t size) {
  std::string stub(std::max<size_t>(size, 0x84), '\0');
  stub[0] = 'M', stub[1] = 'Z';
  stub[0x3C] = char(0x80);
  stub.replace(0x80, 4, std::string("PE\0\0", 4));
  stub.resize(size < 0x84 ? 0x84 : size);
  return stub;
}

std::string ShellQuote(const std::string& s) {
  std::string quoted = "'";
  for (char c : s) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

RunResult Run(const std::string& command) {
  RunResult result{-1, ""};
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (!p) return result;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) result.output.append(buffer, n);
  const int status = pclose(p);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

namespace {

bool TenDigits(const std::string& data, size_t at, int64_t& value) {
  if (at + 10 > data.size()) return false;
  value = 0;
  for (size_t i = at; i < at + 10; ++i) {
    if (data[i] < '0' || data[i] > '9') return false;
    value = value * 10 + (data[i] - '0');
  }
  return true;
}

}  // namespace

Package ReadPackage(const std::string& path, const std::string& scratchDir) {
  Package pkg;
  const std::string data = ReadFile(path);
  int64_t length;
  if (data.size() < 20 || !TenDigits(data, data.size() - 10, pkg.offset)) return pkg.problem = "no trailer", pkg;
  if (!TenDigits(data, size_t(pkg.offset), length)) return pkg.problem = "no size field at the trailer's offset", pkg;
  size_t pos = size_t(pkg.offset) + 10;
  if (pos + size_t(length) > data.size() - 10) return pkg.problem = "configuration cabinet runs past the end", pkg;
  pkg.configuration = data.substr(pos, size_t(length));
  pos += size_t(length);

  // setup.ini out of the configuration cabinet, read by the setup's own reader.
  const std::string cab = scratchDir + "/configuration.cab";
  WriteFile(cab, pkg.configuration);
  std::string problem;
  for (const CabFile& f : ReadWithMspack(cab, scratchDir, problem))
    if (f.name == "setup.ini") pkg.setupIni = f.data;
  if (!problem.empty()) return pkg.problem = "configuration cabinet: " + problem, pkg;
  const std::string iniPath = scratchDir + "/package-setup.ini";
  WriteFile(iniPath, pkg.setupIni);
  IniFile ini(iniPath);
  const int32_t count = ini.ReadInteger("Setup", "FilesCount", 0);
  for (int32_t i = 0; i < count; ++i) {
    const std::string entry = ini.ReadString("Files", std::to_string(i), "");
    if (entry.empty()) continue;
    const std::vector<std::string> fields = SplitEntry(entry, kFilesSeparator);
    std::optional<int32_t> size = fields.size() >= 2 ? ParseInteger(fields[1]) : std::nullopt;
    if (!size || *size < 0) return pkg.problem = "[Files] " + std::to_string(i) + " has no packed size", pkg;
    if (pos + size_t(*size) > data.size() - 10) return pkg.problem = "cabinets run past the trailer", pkg;
    pkg.fileCabinets.push_back(data.substr(pos, size_t(*size)));
    pos += size_t(*size);
  }
  if (pos != data.size() - 10) pkg.problem = "bytes between the last cabinet and the trailer";
  return pkg;
}

std::vector<CabFile> ReadWithMspack(const std::string& cabinet, const std::string& scratchDir, std::string& problem) {
  std::vector<CabFile> files;
  mscab_decompressor* d = mspack_create_cab_decompressor(nullptr);
  mscabd_cabinet* cab = d->open(d, const_cast<char*>(cabinet.c_str()));
  if (!cab) {
    problem = "libmspack cannot open it (error " + std::to_string(d->last_error(d)) + ")";
    mspack_destroy_cab_decompressor(d);
    return files;
  }
  const std::string out = scratchDir + "/mspack.out";
  for (mscabd_file* f = cab->files; f; f = f->next) {
    if (d->extract(d, f, const_cast<char*>(out.c_str())) != MSPACK_ERR_OK) {
      problem = std::string("libmspack cannot extract ") + f->filename + " (error " + std::to_string(d->last_error(d)) + ")";
      break;
    }
    const uint16_t date = uint16_t(((f->date_y - 1980) << 9) | (f->date_m << 5) | f->date_d);
    const uint16_t time = uint16_t((f->time_h << 11) | (f->time_m << 5) | (f->time_s / 2));
    files.push_back(CabFile{f->filename, ReadFile(out), date, time, uint16_t(f->attribs)});
  }
  d->close(d, cab);
  mspack_destroy_cab_decompressor(d);
  return files;
}

std::string CheckWithCabextract(const std::string& cabinet, const std::map<std::string, std::string>& expected,
                                const std::string& scratchDir) {
  RunResult test = Run("cabextract -t " + ShellQuote(cabinet));
  if (test.exitCode != 0 || test.output.find("All done, no errors.") == std::string::npos)
    return "cabextract -t: " + test.output;
  const std::string dir = scratchDir + "/cabextract.out";
  Run("rm -rf " + ShellQuote(dir));
  RunResult extract = Run("cabextract -q -d " + ShellQuote(dir) + " " + ShellQuote(cabinet));
  if (extract.exitCode != 0) return "cabextract: " + extract.output;
  std::vector<std::string> names;
  for (const auto& [name, data] : expected) {
    names.push_back(name);
    if (ReadFile(dir + "/" + name) != data) return "cabextract: " + name + " differs";
  }
  if (ListFolder(dir) != names) return "cabextract: other files than expected";
  return "";
}

time_t FromDos(uint16_t dosDate, uint16_t dosTime) {
  struct tm local {};
  local.tm_year = (dosDate >> 9) + 80;
  local.tm_mon = ((dosDate >> 5) & 15) - 1;
  local.tm_mday = dosDate & 31;
  local.tm_hour = dosTime >> 11;
  local.tm_min = (dosTime >> 5) & 63;
  local.tm_sec = (dosTime & 31) * 2;
  local.tm_isdst = -1;
  return mktime(&local);
}

}  // namespace testutil

namespace {

// The tests run in a time zone that is not UTC (with summer time), so that a date stored in
// UTC instead of local time shows; the builder started by the tests inherits it.
class LocalTimeZone : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
    tzset();
  }
};

const ::testing::Environment* const kTimeZone = ::testing::AddGlobalTestEnvironment(new LocalTimeZone);

}  // namespace
