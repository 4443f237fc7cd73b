// The cabinet extractor against the real FDI of the system's cabinet.dll: what only the real
// system shows (the behaviour both platforms share is tested in tests/contract).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../support/gcab_cabinet.h"
#include "package/cabinet.h"
#include "platform/cabinet.h"

namespace {

using cabtest::GcabCabinet;


bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  bool ok = WriteFile(h, bytes.data(), DWORD(bytes.size()), &n, nullptr) && n == bytes.size();
  CloseHandle(h);
  return ok;
}

// The file's creation time as the local MS-DOS date and time it was set from.
struct DosTimes {
  WORD createdDate = 0, createdTime = 0;
};
DosTimes ReadDosTimes(const std::string& path) {
  DosTimes t;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return t;
  FILETIME created, local;
  if (GetFileTime(h, &created, nullptr, nullptr)) {
    FileTimeToLocalFileTime(&created, &local);
    FileTimeToDosDateTime(&local, &t.createdDate, &t.createdTime);
  }
  CloseHandle(h);
  return t;
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
      else DeleteFileA(path.c_str());
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

class CabinetFdiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH + 1];
    GetTempPathA(sizeof temp, temp);
    root_ = std::string(temp) + "cabfdi" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++count_);
    RemoveTree(root_);
    ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
    cab_ = root_ + "\\file.cab";
    target_ = root_ + "\\Apps\\Demo";
  }
  void TearDown() override { RemoveTree(root_); }

  std::string root_, cab_, target_;
  static int count_;
};
int CabinetFdiTest::count_ = 0;

TEST_F(CabinetFdiTest, TheStoredTimeIsTheCreationTimeToo) {
  ASSERT_TRUE(WriteBytes(cab_, GcabCabinet()));
  ASSERT_TRUE(ExtractCabinet(cab_, target_));
  DosTimes t = ReadDosTimes(target_ + "\\readme.txt");
  EXPECT_EQ(t.createdDate, cabtest::kStoredDosDate);
  EXPECT_EQ(t.createdTime, cabtest::kStoredDosTime);
  t = ReadDosTimes(target_ + "\\sub\\deep\\data.bin");
  EXPECT_EQ(t.createdDate, cabtest::kDataDosDate);
  EXPECT_EQ(t.createdTime, cabtest::kDataDosTime);
}

TEST_F(CabinetFdiTest, AFileThatCannotBeWrittenFails) {
  ASSERT_TRUE(WriteBytes(cab_, GcabCabinet()));
  ASSERT_TRUE(CreateDirectoryA((root_ + "\\Apps").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(target_.c_str(), nullptr));
  // Held open without sharing, as by a running program.
  const std::string readme = target_ + "\\readme.txt";
  HANDLE held = CreateFileA(readme.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ExtractCabinet(cab_, target_));
  CloseHandle(held);

  // A folder in the place of a stored file.
  ASSERT_TRUE(DeleteFileA(readme.c_str()));
  ASSERT_TRUE(CreateDirectoryA(readme.c_str(), nullptr));
  EXPECT_FALSE(ExtractCabinet(cab_, target_));
}

// A cabinet.dll planted beside the program must not be the one that extracts. Each check runs
// in a child process of this program, so that the library's first use happens with the plant
// in place: ZX_PLANTED_CHECK names the child's part, and the tests below skip without it.
std::string ProgramPath() {
  char buffer[MAX_PATH + 1];
  DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, n);
}

std::string ProgramFolderFile(const char* name) {
  std::string program = ProgramPath();
  return program.substr(0, program.find_last_of('\\') + 1) + name;
}

std::string LoadedCabinetLibrary() {
  HMODULE module = GetModuleHandleA("cabinet.dll");
  char buffer[MAX_PATH + 1];
  DWORD n = module ? GetModuleFileNameA(module, buffer, sizeof buffer) : 0;
  return std::string(buffer, n);
}

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

std::string PlantedCheck() {
  char buffer[32];
  DWORD n = GetEnvironmentVariableA("ZX_PLANTED_CHECK", buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

// Runs one test of this program in a child with the plant's environment; true when it passed.
bool RunChild(const char* check, const char* test) {
  SetEnvironmentVariableA("ZX_PLANTED_CHECK", check);
  std::string command = "\"" + ProgramPath() + "\" --gtest_filter=" + test;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  SetEnvironmentVariableA("ZX_PLANTED_CHECK", nullptr);
  if (!started) return false;
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code == 0;
}

TEST(CabinetPlantedChild, BareNameTakesThePlant) {
  if (PlantedCheck() != "probe") GTEST_SKIP() << "runs as a child of PlantedLibraryIsNotLoaded";
  ASSERT_NE(LoadLibraryA("cabinet.dll"), nullptr);
  EXPECT_TRUE(SamePath(LoadedCabinetLibrary(), ProgramFolderFile("cabinet.dll"))) << LoadedCabinetLibrary();
}

TEST(CabinetPlantedChild, ExtractionUsesTheSystemLibrary) {
  if (PlantedCheck() != "extract") GTEST_SKIP() << "runs as a child of PlantedLibraryIsNotLoaded";
  ASSERT_EQ(GetModuleHandleA("cabinet.dll"), nullptr);
  char temp[MAX_PATH + 1];
  GetTempPathA(sizeof temp, temp);
  const std::string cab = std::string(temp) + "planted" + std::to_string(GetCurrentProcessId()) + ".cab";
  ASSERT_TRUE(WriteBytes(cab, GcabCabinet()));
  cabtest::RecordingSink sink;
  EXPECT_TRUE(platform::DecodeCabinet(cab, sink));
  DeleteFileA(cab.c_str());
  char system[MAX_PATH + 1];
  GetSystemDirectoryA(system, sizeof system);
  EXPECT_TRUE(SamePath(LoadedCabinetLibrary(), std::string(system) + "\\cabinet.dll")) << LoadedCabinetLibrary();
}

TEST(CabinetPlanted, PlantedLibraryIsNotLoaded) {
  if (!PlantedCheck().empty()) GTEST_SKIP() << "not inside a child";
  // Any PE image without the FDI functions will do as the plant: a copy of this program.
  const std::string plant = ProgramFolderFile("cabinet.dll");
  ASSERT_TRUE(CopyFileA(ProgramPath().c_str(), plant.c_str(), FALSE));
  // Under Wine a native DLL is taken only when the overrides say so.
  char overrides[512] = "";
  DWORD n = GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
  std::string saved(overrides, n < sizeof overrides ? n : 0);
  SetEnvironmentVariableA("WINEDLLOVERRIDES", (saved.empty() ? std::string() : saved + ";").append("cabinet=n,b").c_str());

  bool probe = RunChild("probe", "CabinetPlantedChild.BareNameTakesThePlant");
  bool extract = RunChild("extract", "CabinetPlantedChild.ExtractionUsesTheSystemLibrary");

  SetEnvironmentVariableA("WINEDLLOVERRIDES", saved.empty() ? nullptr : saved.c_str());
  DeleteFileA(plant.c_str());
  ASSERT_TRUE(probe) << "the plant is not taken even by its bare name, so the check below would prove nothing";
  EXPECT_TRUE(extract);
}

}  // namespace
