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

namespace {
HKEY OpenKey(intptr_t handle) { return reinterpret_cast<HKEY>(handle); }
}  // namespace

bool WritableRegistryKey::Create(RegistryRoot root, const std::string& key) {
  Close();
  HKEY handle;
  if (RegCreateKeyExA(RootKey(root), key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                      &handle, nullptr) != ERROR_SUCCESS)
    return false;
  handle_ = reinterpret_cast<intptr_t>(handle);
  return true;
}

bool WritableRegistryKey::WriteString(const std::string& name, const std::string& text) {
  // The size counts the terminating zero, as readers of REG_SZ expect.
  return IsOpen() && RegSetValueExA(OpenKey(handle_), name.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(text.c_str()),
                                    static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool WritableRegistryKey::WriteDword(const std::string& name, uint32_t number) {
  DWORD data = number;
  return IsOpen() && RegSetValueExA(OpenKey(handle_), name.c_str(), 0, REG_DWORD,
                                    reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

bool WritableRegistryKey::Close() {
  if (!IsOpen()) return false;
  HKEY handle = OpenKey(handle_);
  handle_ = kClosed;
  return RegCloseKey(handle) == ERROR_SUCCESS;
}

}  // namespace platform
