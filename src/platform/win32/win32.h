// Shared by the Win32 side of the platform layer only.
#pragma once
#include <windows.h>

#include <string>

namespace platform {
namespace win32 {

// The wizard window once it exists; message boxes owned by the window use it.
HWND& MainWindow();

// Full path of a file in the system folder, for loading system libraries from there only.
std::string SystemFolderFile(const char* name);

}  // namespace win32
}  // namespace platform
