#include "platform/process.h"
#include "platform/win32/win32.h"

#include <shellapi.h>

namespace platform {

namespace win32 {
std::string SystemFolderFile(const char* name) {
  char buffer[MAX_PATH + 1];
  UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return "";
  std::string file(buffer, n);
  if (file.back() != '\\') file += '\\';
  return file + name;
}
}  // namespace win32

std::string ProgramPath() {
  char buffer[MAX_PATH + 1];
  DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

// The arguments as the classic runtime splits the command line: blanks separate them, double
// quotes group, and the quotes themselves are dropped.
std::vector<std::string> CommandLineArgs() {
  std::vector<std::string> args;
  const char* p = GetCommandLineA();
  bool first = true;
  while (*p) {
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) break;
    std::string arg;
    bool quoted = false;
    for (; *p && (quoted || (*p != ' ' && *p != '\t')); ++p) {
      if (*p == '"') quoted = !quoted;
      else arg += *p;
    }
    if (!first) args.push_back(arg);
    first = false;
  }
  return args;
}

uint32_t ClockSeed() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return GetTickCount() ^ static_cast<uint32_t>(counter.QuadPart) ^ (GetCurrentProcessId() << 16);
}

bool StartProcessAndWait(const std::string& commandLine, const std::string& currentFolder, int show) {
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION process;
  std::string writableCommandLine = commandLine;  // CreateProcessA may write into it
  if (!CreateProcessA(nullptr, &writableCommandLine[0], nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr,
                      currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &process))
    return false;
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

void ShellOpen(const std::string& file, const std::string& parameters, const std::string& folder, int show) {
  ShellExecuteA(nullptr, "open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                folder.empty() ? nullptr : folder.c_str(), show);
}

void EndProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

}  // namespace platform
