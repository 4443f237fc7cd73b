// The registry. Values are read with read-only access and come back with their type, so that
// callers can tell a missing value from one of another type; keys are written through a key
// opened with creation.
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

// A key opened for writing. Closed by its destructor.
class WritableRegistryKey {
 public:
  WritableRegistryKey() = default;
  WritableRegistryKey(const WritableRegistryKey&) = delete;
  WritableRegistryKey& operator=(const WritableRegistryKey&) = delete;
  ~WritableRegistryKey() { Close(); }

  // Opens `key` below `root` for writing, creating the missing keys on its path. False leaves
  // it closed.
  bool Create(RegistryRoot root, const std::string& key);
  bool IsOpen() const { return handle_ != kClosed; }
  // A REG_SZ value ("" names the key's default value); false when the write is refused.
  bool WriteString(const std::string& name, const std::string& text);
  bool WriteDword(const std::string& name, uint32_t number);  // REG_DWORD
  bool Close();  // false when the key could not be closed (or was not open)

 private:
  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;
};

}  // namespace platform
