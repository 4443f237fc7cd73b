#include <cstring>

#include "platform/registry.h"
#include "platform/win32/win32.h"

namespace platform {

namespace {
HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users: return HKEY_USERS;
    default: return HKEY_CURRENT_USER;
  }
}
}  // namespace

RegistryValue ReadRegistryValue(RegistryRoot root, const std::string& key, const std::string& name) {
  RegistryValue value;
  HKEY handle;
  if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return value;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(handle, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    std::string data(size, '\0');
    if (RegQueryValueExA(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) ==
        ERROR_SUCCESS) {
      data.resize(size);
      if (type == REG_SZ || type == REG_EXPAND_SZ) {
        // Stored strings end with their terminator, unless written carelessly.
        value.text = data.substr(0, data.find('\0'));
        value.type = type == REG_SZ ? RegistryType::String : RegistryType::ExpandString;
      } else if (type == REG_DWORD && size == 4) {
        std::memcpy(&value.number, data.data(), 4);
        value.type = RegistryType::Dword;
      } else {
        value.type = RegistryType::Other;
      }
    }
  }
  RegCloseKey(handle);
  return value;
}

}  // namespace platform
