// The stub's entry point: nothing but the hand-over to the portable start-up.
#include <windows.h>

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
  // Libraries loaded by name are never taken from the current folder.
  SetDllDirectoryA("");
  CoInitialize(nullptr);
  try {
    RunSetup();
  } catch (...) {
    // Nothing may cross the process entry: an unforeseen failure ends like a failed run.
    RemoveWorkDir();
  }
  return 4;
}
