// The stub's entry point: nothing but the hand-over to the portable start-up.
#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <exception>

#include "app/startup.h"
#include "package/workdir.h"

// libstdc++'s verbose terminate handler pulls in the demangler (tens of kilobytes); an
// unexpected end needs no message.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Libraries loaded by name are never taken from the current folder (where the system has
  // the switch: XP SP1 and later).
  using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);
  if (auto setDllDirectory = reinterpret_cast<SetDllDirectoryFunction>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDllDirectoryA"))))
    setDllDirectory("");
  CoInitialize(nullptr);
  try {
    RunSetup();
  } catch (...) {
    // Nothing may cross the process entry: an unforeseen failure ends like a failed run.
    RemoveWorkDir();
  }
  return 4;
}
