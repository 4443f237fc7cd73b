// Tests that run unchanged against the simulated Windows (host) and the real one (Wine), so
// that the simulation is held to what Windows does.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/files.h"

// A fresh, empty folder for one test, as a Windows path without a trailing backslash.
std::string ContractFolder();

// Whether opening a read-only file for writing, or moving another file over it, fails. Both do
// on Windows and in the simulation; Wine run by root cannot refuse them, since root passes the
// Unix permissions it maps the attribute to.
bool ReadOnlyRefusesWrites();

// The attributes the platform reports for a file that was given `set` (read-only, hidden,
// system, archive): Windows reports a file with none of them as "normal"; Wine reports every
// file with the archive bit, whatever was set.
uint32_t ReportedAttributes(uint32_t set);

inline void WriteText(const std::string& path, const std::string& text) {
  platform::File file;
  ASSERT_TRUE(file.Open(path, platform::File::Mode::Create)) << path;
  ASSERT_TRUE(file.Write(text.data(), int64_t(text.size()))) << path;
}

inline std::string ReadText(const std::string& path) {
  std::string text;
  return platform::ReadWholeFile(path, text) ? text : "<missing>";
}
