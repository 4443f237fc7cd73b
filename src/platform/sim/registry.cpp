#include <algorithm>
#include <vector>

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

namespace {

// The keys open for writing, by handle: a handle is an index here, "" a free slot. A handle
// names a registry path, not a machine, so a key left open across sim::Reset writes into the
// fresh machine.
std::vector<std::string>& OpenKeys() {
  static std::vector<std::string> keys;
  return keys;
}

const std::string* OpenKeyPath(intptr_t handle) {
  const auto& keys = OpenKeys();
  if (handle < 0 || size_t(handle) >= keys.size() || keys[size_t(handle)].empty()) return nullptr;
  return &keys[size_t(handle)];
}

RegistryValue* ValueToWrite(intptr_t handle, const std::string& name) {
  const std::string* path = OpenKeyPath(handle);
  if (!path) return nullptr;
  RegistryValue& value = sim::Machine().registry[*path][name];
  value = RegistryValue();  // a value written anew loses what it held, its type too
  return &value;
}

}  // namespace

bool WritableRegistryKey::Create(RegistryRoot root, const std::string& key) {
  Close();
  const auto& refused = sim::Machine().refusedRegistryRoots;
  if (std::find(refused.begin(), refused.end(), root) != refused.end()) return false;
  // Every key on the path exists afterwards, with or without values.
  std::string path = sim::RegistryPath(root, key);
  auto& registry = sim::Machine().registry;
  for (size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1))
    registry[path.substr(0, end)];
  registry[path];

  auto& keys = OpenKeys();
  auto slot = std::find(keys.begin(), keys.end(), std::string());
  if (slot == keys.end()) slot = keys.insert(keys.end(), std::string());
  *slot = path;
  handle_ = slot - keys.begin();
  return true;
}

bool WritableRegistryKey::WriteString(const std::string& name, const std::string& text) {
  RegistryValue* value = ValueToWrite(handle_, name);
  if (!value) return false;
  value->type = RegistryType::String;
  value->text = text;
  return true;
}

bool WritableRegistryKey::WriteDword(const std::string& name, uint32_t number) {
  RegistryValue* value = ValueToWrite(handle_, name);
  if (!value) return false;
  value->type = RegistryType::Dword;
  value->number = number;
  return true;
}

bool WritableRegistryKey::Close() {
  if (!OpenKeyPath(handle_)) return false;
  OpenKeys()[size_t(handle_)].clear();
  handle_ = kClosed;
  return true;
}

}  // namespace platform
