// Finding the setup package inside the stub's own file.
//
//   position          length  content
//   0                 S       the stub executable
//   P                 10      L, the configuration cabinet's length, ten decimal characters
//   P + 10            L       the configuration cabinet
//   P + 10 + L        C0...   the per-file cabinets, back to back, in [Files] key order
//   end - 10          10      the trailer: P, ten decimal characters
//  [end               ...     a certificate table, when the finished setup was signed]
//
// P is first looked for at the fixed position 250,368: a stub padded to that length needs
// no trailer. Otherwise the trailer gives it. A ten-character field is read as a signed
// 32-bit integer, so positions and lengths are at most 2,147,483,647.
#pragma once
#include <cstdint>

#include "platform/files.h"

constexpr int32_t kFixedPackageOffset = 250368;
constexpr int kSizeFieldLength = 10;

// Position in the stub's file of the next per-file cabinet.
extern int32_t PackageOffset;

struct PackageLocation {
  int32_t offset = 0;        // P
  int32_t configLength = 0;  // L
};

// Locates the package in the open stub file. False when no valid package is found: a field
// that is not an integer, a negative value, or a position or length outside the file.
bool LocatePackage(platform::File& stub, PackageLocation& location);
