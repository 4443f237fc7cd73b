// The registry, read side: values are read with read-only access and come back with their type,
// so that callers can tell a missing value from one of another type.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

enum class RegistryType { Missing, String, ExpandString, Dword, Other };

struct RegistryValue {
  RegistryType type = RegistryType::Missing;  // Missing: the key does not open or has no such value
  std::string text;                           // String and ExpandString, as stored
  uint32_t number = 0;                        // Dword
};

// The value `name` ("" is the key's default value) of `key` below `root`.
RegistryValue ReadRegistryValue(RegistryRoot root, const std::string& key, const std::string& name);

}  // namespace platform
