#include "package_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fixture {

namespace {
void Put16(std::string& s, unsigned v) {
  s += char(v & 255);
  s += char((v >> 8) & 255);
}
void Put32(std::string& s, unsigned v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}
}  // namespace

std::string Bitmap24(int width, int height) {
  unsigned stride = (unsigned(width) * 3 + 3) & ~3u;
  unsigned pixels = stride * unsigned(height);
  std::string b = "BM";
  Put32(b, 54 + pixels);
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, unsigned(width));
  Put32(b, unsigned(height));
  Put16(b, 1);
  Put16(b, 24);
  Put32(b, 0);
  Put32(b, pixels);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  b.append(pixels, '\x80');
  return b;
}

Files ValidConfiguration(const std::string& setupIni) {
  return {{"setup.ini", setupIni},
          {"English.lng", "[Info]\nid=1033\n"},
          {"zxwizard.bmp", Bitmap24(500, 314)},
          {"zxheader.bmp", Bitmap24(498, 55)}};
}

std::string MakeCabinet(const Files& files) {
  char folder[] = "/tmp/cabfix.XXXXXX";
  if (!mkdtemp(folder)) throw std::runtime_error("mkdtemp");
  std::string dir = folder, names;
  for (const auto& file : files) {
    std::ofstream(dir + "/" + file.first, std::ios::binary) << file.second;
    names += " '" + file.first + "'";
  }
  std::string command = "cd '" + dir + "' && gcab -c -z out.cab" + names + " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("gcab failed: " + command);
  std::ifstream in(dir + "/out.cab", std::ios::binary);
  std::stringstream cabinet;
  cabinet << in.rdbuf();
  std::system(("rm -rf '" + dir + "'").c_str());
  return cabinet.str();
}

std::string Field(long long value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%010lld", value);
  return buffer;
}

std::string MakePackage(const std::string& cabinet, Placement placement, size_t stubSize, const std::string& rest) {
  std::string stub = "MZ";
  size_t size = placement == Placement::FixedOffset ? 250368 : stubSize;
  stub.resize(size, 'x');
  return stub + Field(cabinet.size()) + cabinet + rest + Field(static_cast<long long>(size));
}

}  // namespace fixture
