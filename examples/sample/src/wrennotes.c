/* Wren Notes: the sample product of the setup examples. A window that greets the user with
 * the text the setup wrote into wrennotes.ini beside the program, sized by the width the setup
 * wrote into the registry, and showing the note file it was opened with (the .wrn
 * association passes it as the first argument).
 *
 *   wrennotes.exe [note.wrn]   show the greeting, and the note when one is given
 *   wrennotes.exe /close       close a running Wren Notes (run before it is uninstalled)
 */
#include <windows.h>
#include <string.h>

static const char kClassName[] = "WrenNotesWindow";
static const char kRegistryKey[] = "Software\\Wren Works\\Wren Notes";

static char greeting[512];
static char owner[256];
static char note[4096];

/* The folder of this program, with a trailing backslash. */
static void ProgramFolder(char *folder, DWORD size) {
  DWORD n = GetModuleFileNameA(NULL, folder, size);
  while (n > 0 && folder[n - 1] != '\\') --n;
  folder[n] = '\0';
}

static void ReadSettings(void) {
  char ini[MAX_PATH + 16];
  ProgramFolder(ini, MAX_PATH);
  lstrcatA(ini, "wrennotes.ini");
  GetPrivateProfileStringA("Greeting", "Text", "Hello from Wren Notes.", greeting, sizeof greeting, ini);
  GetPrivateProfileStringA("Greeting", "Owner", "", owner, sizeof owner, ini);
}

static DWORD WindowWidth(void) {
  DWORD width = 480, size = sizeof width, type = 0;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    if (RegQueryValueExA(key, "WindowWidth", NULL, &type, (BYTE *)&width, &size) != ERROR_SUCCESS ||
        type != REG_DWORD || width < 200 || width > 2000)
      width = 480;
    RegCloseKey(key);
  }
  return width;
}

/* The start of the note file, or a line saying why it cannot be shown. */
static void ReadNote(const char *path) {
  DWORD read = 0;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) {
    wsprintfA(note, "Cannot open the note %s.", path);
    return;
  }
  ReadFile(file, note, sizeof note - 1, &read, NULL);
  note[read] = '\0';
  CloseHandle(file);
}

/* The first argument, without its quotes; empty when there is none. */
static void FirstArgument(const char *commandLine, char *argument, size_t size) {
  size_t n = 0;
  while (*commandLine == ' ') ++commandLine;
  if (*commandLine == '"') {
    ++commandLine;
    while (*commandLine && *commandLine != '"' && n + 1 < size) argument[n++] = *commandLine++;
  } else {
    while (*commandLine && *commandLine != ' ' && n + 1 < size) argument[n++] = *commandLine++;
  }
  argument[n] = '\0';
}

static void Paint(HWND window) {
  PAINTSTRUCT ps;
  RECT area;
  HDC dc = BeginPaint(window, &ps);
  HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
  HGDIOBJ oldFont = SelectObject(dc, font);
  char line[320];
  GetClientRect(window, &area);
  InflateRect(&area, -16, -16);
  SetBkMode(dc, TRANSPARENT);
  area.top += DrawTextA(dc, greeting, -1, &area, DT_WORDBREAK | DT_NOPREFIX) + 8;
  if (owner[0]) {
    wsprintfA(line, "Registered to %s.", owner);
    area.top += DrawTextA(dc, line, -1, &area, DT_WORDBREAK | DT_NOPREFIX) + 8;
  }
  if (note[0]) DrawTextA(dc, note, -1, &area, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, oldFont);
  EndPaint(window, &ps);
}

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  char argument[MAX_PATH];
  WNDCLASSA windowClass;
  HWND window;
  MSG message;
  (void)previous;

  FirstArgument(commandLine, argument, sizeof argument);
  if (lstrcmpiA(argument, "/close") == 0) {
    HWND running;
    int tries;
    for (tries = 0; tries < 10 && (running = FindWindowA(kClassName, NULL)) != NULL; ++tries)
      SendMessageA(running, WM_CLOSE, 0, 0);
    return 0;
  }
  ReadSettings();
  if (argument[0]) ReadNote(argument);

  memset(&windowClass, 0, sizeof windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
  windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass)) return 1;
  window = CreateWindowA(kClassName, "Wren Notes", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         (int)WindowWidth(), 320, NULL, NULL, instance, NULL);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return (int)message.wParam;
}
