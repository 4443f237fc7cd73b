// Checks for authors: what the setup would silently ignore or misread in a script. Each
// finding is one line naming the section and key.
#pragma once
#include <string>
#include <vector>

#include "mkpackage/project_script.h"

namespace mkpackage {

// [Setup] keys the setup does not read (with the nearest one it does), Boolean and integer
// keys that are not numbers, and the entries of the lists other than [Files]: field counts
// and keywords.
void CheckScript(const ProjectScript& script, std::vector<std::string>& warnings);

// A keyword field that matches a keyword only without regard to case (or blanks): the setup
// compares them exactly, so the entry behaves as if the field held some other text.
void CheckKeywords(const std::string& section, const std::string& key, const std::vector<std::string>& fields,
                   std::vector<std::string>& warnings);

// The known [Setup] key nearest to a name (edit distance, without regard to case).
std::string NearestSetupKey(const std::string& name);

}  // namespace mkpackage
