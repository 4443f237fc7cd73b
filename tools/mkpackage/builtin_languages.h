// The language files built into the tool (tools/resources/languages, English and its
// translations, each in its own code page), packed when a project brings no *.lng file. The
// table is generated at build time (tools/embed_files.cmake), so the tool needs no source tree.
#pragma once
#include <cstddef>

namespace mkpackage {

struct EmbeddedFile {
  const char* name;  // "English.lng"
  const unsigned char* data;
  size_t size;
};

extern const EmbeddedFile kBuiltinLanguages[];  // sorted by name
extern const size_t kBuiltinLanguageCount;

}  // namespace mkpackage
