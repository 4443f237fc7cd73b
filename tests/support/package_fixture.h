// Building setup packages for host tests: configuration cabinets made with the independent
// writer gcab, put behind a stub of a chosen size, in the simulated file system.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace fixture {

using Files = std::vector<std::pair<std::string, std::string>>;  // stored name, content

// A Windows bitmap of the given size, 24 bits per pixel.
std::string Bitmap24(int width, int height);

// The files a valid configuration holds: setup.ini as given, one language, the two pictures.
Files ValidConfiguration(const std::string& setupIni = "[Setup]\nAppName=Demo\n");

// An MSZIP cabinet made by gcab from the files (flat names).
std::string MakeCabinet(const Files& files);

// A ten-character decimal field.
std::string Field(long long value);

enum class Placement { FixedOffset, Trailer };

// Stub bytes (padded to the fixed offset for FixedOffset, else of `stubSize`), the size field,
// the cabinet, `rest`, and the trailer.
std::string MakePackage(const std::string& cabinet, Placement placement, size_t stubSize = 4096,
                        const std::string& rest = "");

}  // namespace fixture
