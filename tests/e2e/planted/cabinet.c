/* A planted cabinet.dll: when a process loads it, it leaves a mark beside itself naming that
   process. It exports nothing, so a setup that took it could not extract either. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char mark[MAX_PATH], program[MAX_PATH];
  DWORD length = GetModuleFileNameA(instance, mark, MAX_PATH);
  while (length > 0 && mark[length - 1] != '\\') --length;
  lstrcpyA(mark + length, "planted-mark.txt");
  GetModuleFileNameA(NULL, program, MAX_PATH);
  HANDLE file = CreateFileA(mark, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, 0, NULL);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written;
    WriteFile(file, program, lstrlenA(program), &written, NULL);
    WriteFile(file, "\r\n", 2, &written, NULL);
    CloseHandle(file);
  }
  return TRUE;
}
