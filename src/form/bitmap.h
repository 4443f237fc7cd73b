// Windows bitmap files, checked the way a picture control loads them.
#pragma once
#include <cstdint>
#include <string>

struct Bitmap {
  std::string data;  // the whole file, from "BM" on; empty when no picture is loaded
  int32_t width = 0;
  int32_t height = 0;  // negative for a top-down bitmap
  uint16_t bitsPerPixel = 0;
  bool Empty() const { return data.empty(); }
};

// Reads and checks a Windows bitmap (.bmp) file: the file header, a known info header, a
// sensible size and depth, and pixel data that lies within the file. False leaves `picture`
// unchanged.
bool LoadBitmapFile(const std::string& path, Bitmap& picture);
