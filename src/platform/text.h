// Text helpers shared by every module. Texts are 8-bit ANSI; case folding covers ASCII
// letters, which is what every name the program compares (sections, keys, file names of its
// own) is made of.
#pragma once
#include <string>

namespace text {

inline char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

std::string Lower(std::string s);
bool SameText(const std::string& a, const std::string& b);  // equal without regard to case
// Replaces every occurrence of `from` (not empty) by `to`.
std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to);
// The same without regard to case; the text is searched from the left and what was put in is
// not searched again.
std::string ReplaceAllIgnoringCase(const std::string& s, const std::string& from, const std::string& to);
std::string FromInt(long long value);
// Without the blanks (spaces and tabs) around it.
std::string Trim(const std::string& s);

}  // namespace text
