// Controls of the simulated Windows, for host tests: where its file system lives, what the
// process looks like, scripted answers and records of message boxes, and injected faults.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/system.h"
#include "platform/ui.h"

namespace sim {

// Thrown by platform::EndProcess: unwinds to the test that started the run. Not derived from
// std::exception, so that no handler of the program catches it.
struct ProcessEnded {
  int exitCode;
};

struct MessageBoxRecord {
  platform::MessageBoxRequest request;
  platform::Answer answer;
};

// Names of registry keys and values compare without regard to case, as on Windows.
struct CaseLess {
  bool operator()(const std::string& a, const std::string& b) const;
};
using RegistryKey = std::map<std::string, platform::RegistryValue, CaseLess>;  // by value name

// A program the setup started and waited for, and a shell "open" it asked for.
struct ProcessRecord {
  std::string commandLine;
  std::string currentFolder;
  int show = 0;
};
struct ShellOpenRecord {
  std::string file;
  std::string parameters;
  std::string folder;
  int show = 0;
};

struct State {
  std::string hostRoot;            // host folder holding the drives: "C:\x" is hostRoot/C/x
  std::string tempFolder = "C:\\Temp\\";
  std::string programPath = "C:\\setup.exe";
  std::vector<std::string> args;
  uint32_t clockSeed = 12345;

  // The system: its folders, shell folders by CSIDL (absent: the system has none), language
  // and date.
  std::string windowsFolder = "C:\\Windows";
  std::string systemFolder = "C:\\Windows\\system32";
  std::map<int, std::string> shellFolders;
  unsigned systemLanguageId = 1033;
  std::string shortDate = "12/11/2026";
  platform::LocalDate today{2026, 12, 11};
  platform::DateTimeFormat dateTimeFormat;

  // The registry: keys by root and path ("HKEY_LOCAL_MACHINE\\SOFTWARE\\..."), each with its values.
  std::map<std::string, RegistryKey, CaseLess> registry;

  std::deque<platform::Answer> answers;     // taken one per box; empty: the default button
  std::vector<MessageBoxRecord> messageBoxes;
  int processMessagesCalls = 0;
  std::function<void()> onProcessMessages;  // what the user does while messages are processed
  unsigned pausedMilliseconds = 0;

  // Processes: every start and shell open, in order. A started process "runs" onProcess (if
  // set) before the wait returns; processesStart false makes every start fail.
  std::vector<ProcessRecord> processes;
  std::vector<ShellOpenRecord> shellOpens;
  std::function<void(const ProcessRecord&)> onProcess;
  bool processesStart = true;

  // Faults: Windows paths, compared without regard to case.
  std::vector<std::string> refusedFolders;  // CreateFolder of exactly this path fails
  std::vector<std::string> refusedWrites;   // opening exactly this file for writing fails
  std::vector<platform::RegistryRoot> refusedRegistryRoots;  // opening a key for writing below it fails
};

// The simulated machine. Reset() gives a fresh one with an empty file system under a new
// temporary host folder (removed by the next Reset or at exit).
State& Machine();
void Reset();

// The host path a Windows path maps to, resolving existing components without regard to case.
std::string HostPath(const std::string& windowsPath);

// Convenience for tests: write or read a whole file, creating its folders.
void WriteFile(const std::string& windowsPath, const std::string& contents);
std::string ReadFile(const std::string& windowsPath);

// Registry values for tests; the key is created with the value.
std::string RegistryPath(platform::RegistryRoot root, const std::string& key);
void SetRegistryString(platform::RegistryRoot root, const std::string& key, const std::string& name,
                       const std::string& text, platform::RegistryType type = platform::RegistryType::String);
void SetRegistryDword(platform::RegistryRoot root, const std::string& key, const std::string& name, uint32_t number);

}  // namespace sim
