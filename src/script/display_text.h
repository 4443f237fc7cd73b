// Texts prepared for display: a message with its one argument, a long path shortened for a
// status line.
#pragma once
#include <string>

// Puts `argument` in place of the first "%s" of `format` and turns "%%" into "%" and "<#>"
// into a line break. Language files are data: a second "%s" or any other "%" sequence stays
// as written rather than reading past the one argument. No placeholder is expanded.
std::string FormatMessage(const std::string& format, const std::string& argument);

// A path of at most 70 characters as it is; a longer one without the two folders above its
// file name: "C:\a\b\c\file" gives "C:\a\..\file". A path too short in folders stays whole.
std::string ShortenPath(const std::string& path);
