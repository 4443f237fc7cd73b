#include "platform/path.h"
#include "platform/registry.h"
#include "platform/sim/sim.h"
#include "platform/text.h"

namespace sim {

bool CaseLess::operator()(const std::string& a, const std::string& b) const {
  return text::Lower(a) < text::Lower(b);
}

std::string RegistryPath(platform::RegistryRoot root, const std::string& key) {
  static const char* const kRoots[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                       "HKEY_USERS"};
  std::string path = kRoots[static_cast<int>(root)];
  return key.empty() ? path : path + "\\" + path::WithoutTrailingBackslash(key);
}

void SetRegistryString(platform::RegistryRoot root, const std::string& key, const std::string& name,
                       const std::string& text, platform::RegistryType type) {
  platform::RegistryValue& value = Machine().registry[RegistryPath(root, key)][name];
  value.type = type;
  value.text = text;
}

void SetRegistryDword(platform::RegistryRoot root, const std::string& key, const std::string& name,
                      uint32_t number) {
  platform::RegistryValue& value = Machine().registry[RegistryPath(root, key)][name];
  value.type = platform::RegistryType::Dword;
  value.number = number;
}

}  // namespace sim

namespace platform {

RegistryValue ReadRegistryValue(RegistryRoot root, const std::string& key, const std::string& name) {
  const auto& registry = sim::Machine().registry;
  auto found = registry.find(sim::RegistryPath(root, key));
  if (found == registry.end()) return RegistryValue();
  auto value = found->second.find(name);
  return value == found->second.end() ? RegistryValue() : value->second;
}

}  // namespace platform
