// The pictures the builder supplies when a project has none of its own: 24-bit Windows
// bitmaps (BITMAPFILEHEADER, BITMAPINFOHEADER, bottom-up rows padded to four bytes) of the sizes
// the setup window shows them at. Painted with integer arithmetic only, so that every build of
// the tool, on any machine, writes the same bytes.
#pragma once
#include <string>

namespace mkpackage {

constexpr int kWizardWidth = 500, kWizardHeight = 314;  // zxwizard.bmp, 471,054 bytes
constexpr int kHeaderWidth = 498, kHeaderHeight = 55;   // zxheader.bmp, 82,334 bytes

// Behind the language, welcome and finish pages: a blue band with the emblem on the left,
// white where the page texts stand (from x = 178 on).
std::string DefaultWizardPicture();

// The header strip of the inner pages: white under the titles, the emblem at the right end.
std::string DefaultHeaderPicture();

}  // namespace mkpackage
