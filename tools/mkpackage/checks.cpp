#include "mkpackage/checks.h"

#include <algorithm>

#include "mkpackage/strings.h"
#include "platform/text.h"
#include "script/ini_file.h"
#include "script/list_entry.h"
#include "script/setup_ini.h"

namespace mkpackage {

namespace {

struct KeywordField {
  const char* section;
  size_t field;  // from 1
  std::vector<const char*> keywords;
};

const std::vector<KeywordField>& KeywordFields() {
  static const std::vector<KeywordField> table = {
      {"Files", 3, {"Overwrite", "Skip", "Ask", "Overwrite only if newer"}},
      {"Files", 4, {"Yes"}},
      {"Commands", 3, {"Maximize", "Minimize", "Hide"}},
      {"Commands", 4, {"Before Installation", "After Installation", "Before Uninstallation", "After Uninstallation"}},
      {"Commands", 5, {"Yes"}},
      {"Shortcuts", 8, {"Normal", "Maximize", "Minimize", "Hide"}},
      {"Registry", 1, {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"}},
      {"Registry", 4, {"STRING", "DWORD", "BINARY"}},
      {"Registry", 6, {"Yes"}},
      {"Registry", 7, {"Yes"}},
      {"INI", 5, {"Yes"}},
      {"INI", 6, {"Yes"}},
      {"Others", 1, {"Font", "ActiveX", "Type Library", "ScreenSaver", "Wallpaper"}},
      {"Others", 3, {"Yes"}},
  };
  return table;
}

struct ListLayout {
  const char* section;
  size_t fields;
  bool atLeast;  // more fields are fine, fewer are not
};

// [Variables] is read with its own rule for a short entry and is left out.
const ListLayout kLists[] = {
    {"Shortcuts", 8, false}, {"Registry", 7, false},  {"INI", 6, false},
    {"Extensions", 5, false}, {"Commands", 5, true}, {"Others", 3, false},
};

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      const bool same = text::LowerAscii(a[i - 1]) == text::LowerAscii(b[j - 1]);
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// Package builders keep settings of their own in [Setup] (defaults for new [Files] entries);
// the setup passes over them, and so do the checks.
bool IsBuilderKey(const std::string& name) {
  return text::SameText(name, "ExistMode") || text::SameText(name, "NotRemove");
}

}  // namespace

std::string NearestSetupKey(const std::string& name) {
  const char* best = "";
  size_t bestDistance = ~size_t(0);
  for (const SetupKey& key : SetupKeys()) {
    const size_t d = EditDistance(name, key.name);
    if (d < bestDistance) best = key.name, bestDistance = d;
  }
  return best;
}

void CheckKeywords(const std::string& section, const std::string& key, const std::vector<std::string>& fields,
                   std::vector<std::string>& warnings) {
  for (const KeywordField& kf : KeywordFields()) {
    if (!text::SameText(section, kf.section) || kf.field > fields.size()) continue;
    const std::string& field = fields[kf.field - 1];
    for (const char* keyword : kf.keywords) {
      if (field != keyword && text::SameText(TrimText(field), keyword)) {
        warnings.push_back("[" + std::string(kf.section) + "] " + key + ": field " + std::to_string(kf.field) + " " +
                           Quoted(field) + " matches no keyword, as keywords are compared exactly; write " +
                           Quoted(keyword));
        break;
      }
    }
  }
}

void CheckScript(const ProjectScript& script, std::vector<std::string>& warnings) {
  for (const ProjectScript::Key& key : script.Keys("Setup")) {
    const SetupKey* known = FindSetupKey(key.name);
    if (!known) {
      if (!IsBuilderKey(key.name))
        warnings.push_back("[Setup] " + key.name + ": unknown key, the setup does not read it (nearest known key: " +
                           NearestSetupKey(key.name) + ")");
      continue;
    }
    if (known->type == SetupKeyType::String || key.value.empty() || ParseInteger(key.value)) continue;
    const bool boolean = known->type == SetupKeyType::Boolean;
    std::string reads = boolean ? (std::string(known->defaultValue) == "1" ? "true" : "false") : known->defaultValue;
    warnings.push_back("[Setup] " + key.name + ": " + Quoted(key.value) + " is not a number; the setup reads " +
                       (boolean ? "the default, " : "the default ") + reads + (boolean ? " (write 1 or 0)" : ""));
  }
  for (const ListLayout& list : kLists) {
    for (const ProjectScript::Key& key : script.Keys(list.section)) {
      const std::vector<std::string> fields = SplitEntry(key.value, kListSeparator);
      const bool wrong = list.atLeast ? fields.size() < list.fields : fields.size() != list.fields;
      if (wrong) {
        warnings.push_back("[" + std::string(list.section) + "] " + key.name + ": " + std::to_string(fields.size()) +
                           (fields.size() == 1 ? " field" : " fields") + ", an entry needs " +
                           (list.atLeast ? "at least " : "") + std::to_string(list.fields) +
                           " separated by \"*?\"; the setup passes over it");
      }
      CheckKeywords(list.section, key.name, fields, warnings);
    }
  }
}

}  // namespace mkpackage
