#include "script/variables.h"

#include "platform/registry.h"
#include "platform/text.h"
#include "script/list_entry.h"
#include "script/placeholders.h"

using platform::RegistryRoot;
using platform::RegistryType;

std::vector<std::string> UserVariables;

namespace {
RegistryRoot VariableRoot(const std::string& name) {
  if (name == "HKEY_CLASSES_ROOT") return RegistryRoot::ClassesRoot;
  if (name == "HKEY_LOCAL_MACHINE") return RegistryRoot::LocalMachine;
  if (name == "HKEY_USERS") return RegistryRoot::Users;
  return RegistryRoot::CurrentUser;
}
}  // namespace

void DefineVariable(const std::string& entry) {
  std::vector<std::string> fields = SplitEntry(entry, kListSeparator);
  if (fields.size() < 5) return;
  if (fields.size() == 5) fields.emplace_back();
  std::string value = ExpandPlaceholders(fields[5]);
  platform::RegistryValue stored = platform::ReadRegistryValue(
      VariableRoot(fields[1]), ExpandPlaceholders(fields[2]), ExpandPlaceholders(fields[3]));
  if (fields[4] == "STRING") {
    if (stored.type == RegistryType::String || stored.type == RegistryType::ExpandString) value = stored.text;
  } else if (stored.type == RegistryType::Dword) {
    value = text::FromInt(static_cast<int32_t>(stored.number));
  }
  UserVariables.push_back(fields[0] + "?" + value);
}
