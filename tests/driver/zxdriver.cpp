// zxdriver: runs a program, watches its message boxes, answers them as scripted and reports
// what it saw, so that a shell test can grep the lines.
//
//   zxdriver [options] -- program [args...]
//
// Options:
//   --answer TEXT      answer the next box by clicking the button whose text is TEXT ("OK",
//                      "&Yes", ...; a text without its "&" matches too); one option per box, in
//                      order; boxes beyond the script get their default button
//   --list-temp PAT    with every box, and once more after the program ended, list the files and
//                      folders matching PAT (environment variables such as %TEMP% are expanded
//                      in the program's environment) and everything inside the folders
//   --env NAME=VALUE   set NAME in the program's environment (an empty VALUE removes it)
//   --timeout SECONDS  end the program if it still runs after SECONDS (default 60)
//
// Output, one line each, in the ANSI code page, "\n" line ends:
//   box N caption="..." text="..." icon=KIND buttons="B1|B2|..." default="B" owner=none|yes
//       a new box (a top-level "#32770" window of the program), numbered from 1; KIND is
//       error, warning, question, information, none or unknown; in quoted texts a backslash,
//       a quote, a line feed, a carriage return and a tab appear as \\, \", \n, \r and \t
//   temp N dir PATH | temp N file PATH SIZE
//       the listing of --list-temp taken while box N was up; N is "end" after the program ended
//   click N "B"        the button clicked to answer box N
//   timeout=SECONDS    the program did not end in time and was ended by the driver
//   error MESSAGE      a failure of the driver or of the script (no such button, unused answers)
//   exit=CODE          the program's exit code; always the last line once the program has run
//
// Exit status: 0 when the program ran to its end and every scripted answer applied; 2 for a
// bad command line; 3 when the program could not be started; 4 after a timeout; 5 when a
// scripted answer named no button of its box or was left unused.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Options {
  std::vector<std::string> answers;
  std::vector<std::string> listPatterns;
  std::vector<std::string> environment;
  double timeoutSeconds = 60;
  std::vector<std::string> command;
};

void Line(const std::string& text) {
  std::string line = text + "\n";
  fwrite(line.data(), 1, line.size(), stdout);
  fflush(stdout);
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

std::string WindowText(HWND window) {
  // WM_GETTEXT is marshalled between processes, unlike a direct read of the text.
  char buffer[4096] = "";
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  buffer[sizeof buffer - 1] = 0;
  return buffer;
}

std::string ClassName(HWND window) {
  char buffer[256] = "";
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

// Command-line quoting the C runtime's argument splitting undoes.
std::string QuoteArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') backslashes = backslashes * 2 + 1;
    out.append(backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

// --- icons --------------------------------------------------------------------------------
//
// Under Wine an icon handle belongs to the process that loaded it: GetIconInfo refuses the
// handle STM_GETICON returns from another process (ERROR_INVALID_CURSOR_HANDLE). The box's icon is therefore read
// from the screen (the box is brought to the top first) and compared with the system icons the
// driver loads itself: only the pixels that are opaque in the reference icon are compared, so
// the box's background colour does not matter.

struct Pixels {
  int width = 0, height = 0;
  std::vector<DWORD> data;  // top-down, 0x00RRGGBB
};

Pixels ReadBitmap(HDC dc, HBITMAP bitmap, int width, int height) {
  Pixels pixels;
  pixels.width = width;
  pixels.height = height;
  pixels.data.assign(static_cast<size_t>(width) * height, 0);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  GetDIBits(dc, bitmap, 0, height, pixels.data.data(), &info, DIB_RGB_COLORS);
  for (DWORD& p : pixels.data) p &= 0xFFFFFF;
  return pixels;
}

Pixels DrawIconOn(HICON icon, int size, COLORREF background) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  RECT all = {0, 0, size, size};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  SelectObject(dc, old);
  Pixels pixels = ReadBitmap(dc, bitmap, size, size);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

Pixels CaptureScreen(const RECT& rect) {
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(dc, old);
  Pixels pixels = ReadBitmap(dc, bitmap, width, height);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

struct Reference {
  const char* kind;
  Pixels onBlack, onWhite;
};

const std::vector<Reference>& References(int size) {
  static std::vector<Reference> references;
  if (references.empty()) {
    const struct {
      const char* kind;
      LPCSTR id;
    } icons[] = {{"error", IDI_HAND}, {"warning", IDI_EXCLAMATION},
                 {"question", IDI_QUESTION}, {"information", IDI_ASTERISK}};
    for (const auto& icon : icons) {
      HICON handle = LoadIconA(nullptr, icon.id);
      references.push_back({icon.kind, DrawIconOn(handle, size, RGB(0, 0, 0)),
                            DrawIconOn(handle, size, RGB(255, 255, 255))});
    }
  }
  return references;
}

bool Near(DWORD a, DWORD b) {
  for (int shift = 0; shift < 24; shift += 8) {
    int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d > 24 || d < -24) return false;
  }
  return true;
}

// The share of the reference's opaque pixels that the captured picture shows (0 to 1).
double Match(const Reference& reference, const Pixels& captured) {
  int opaque = 0, same = 0;
  for (int y = 0; y < reference.onBlack.height && y < captured.height; ++y) {
    for (int x = 0; x < reference.onBlack.width && x < captured.width; ++x) {
      size_t i = static_cast<size_t>(y) * reference.onBlack.width + x;
      if (reference.onBlack.data[i] != reference.onWhite.data[i]) continue;
      ++opaque;
      if (Near(reference.onBlack.data[i], captured.data[static_cast<size_t>(y) * captured.width + x])) ++same;
    }
  }
  return opaque ? static_cast<double>(same) / opaque : 0;
}

HWND IconControl(HWND box) {
  HWND found = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child && !found; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassName(child) != "Static" || !IsWindowVisible(child)) continue;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) found = child;
  }
  return found;
}

std::string IconKind(HWND box) {
  HWND control = IconControl(box);
  if (!control) return "none";
  DWORD_PTR icon = 0;
  SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
  if (!icon) return "none";
  int size = GetSystemMetrics(SM_CXICON);
  // Paint can lag behind the box's appearance: look a few times before giving up.
  for (int attempt = 0; attempt < 10; ++attempt) {
    SetForegroundWindow(box);
    SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(100 + 50 * attempt);
    RECT rect;
    GetWindowRect(control, &rect);
    rect.right = std::min<LONG>(rect.right, rect.left + size);
    rect.bottom = std::min<LONG>(rect.bottom, rect.top + size);
    Pixels captured = CaptureScreen(rect);
    const char* best = nullptr;
    double bestScore = 0;
    for (const Reference& reference : References(size)) {
      double score = Match(reference, captured);
      if (score > bestScore) {
        bestScore = score;
        best = reference.kind;
      }
    }
    // The question and information icons share their blue disc: about 87% of the pixels of
    // one match the other, so only a near-complete match counts.
    if (best && bestScore >= 0.97) return best;
  }
  return "unknown";
}

// --- boxes --------------------------------------------------------------------------------

struct Button {
  HWND window;
  std::string text;
  RECT rect;
};

std::vector<Button> Buttons(HWND box) {
  std::vector<Button> buttons;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassName(child) != "Button" || !IsWindowVisible(child)) continue;
    Button button{child, WindowText(child), {}};
    GetWindowRect(child, &button.rect);
    buttons.push_back(button);
  }
  // In the order the user sees them: rows from the top, each from the left.
  std::sort(buttons.begin(), buttons.end(), [](const Button& a, const Button& b) {
    if (a.rect.top != b.rect.top) return a.rect.top < b.rect.top;
    return a.rect.left < b.rect.left;
  });
  return buttons;
}

std::string BoxText(HWND box) {
  std::string text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassName(child) != "Static" || !IsWindowVisible(child)) continue;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
    std::string part = WindowText(child);
    if (part.empty()) continue;
    if (!text.empty()) text += "\n";
    text += part;
  }
  return text;
}

HWND DefaultButton(HWND box, const std::vector<Button>& buttons) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(box, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
  if (HIWORD(result) == DC_HASDEFID) {
    HWND button = GetDlgItem(box, LOWORD(result));
    if (button) return button;
  }
  for (const Button& button : buttons)
    if (GetWindowLongA(button.window, GWL_STYLE) & BS_DEFPUSHBUTTON) return button.window;
  return buttons.empty() ? nullptr : buttons.front().window;
}

std::string WithoutAmpersand(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  return text;
}

struct Watch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM param) {
  Watch* watch = reinterpret_cast<Watch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == watch->processId && IsWindowVisible(window) && ClassName(window) == "#32770")
    watch->found.push_back(window);
  return TRUE;
}

// --- listing ------------------------------------------------------------------------------

// Prints the entries matching PATTERN, which lie in FOLDER, then lists the folders among them in full.
void ListMatches(const std::string& tag, const std::string& folder, const std::string& pattern) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> folders;
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    std::string path = folder + "\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      Line("temp " + tag + " dir " + path);
      folders.push_back(path);
    } else {
      unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
      Line("temp " + tag + " file " + path + " " + std::to_string(size));
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
  for (const std::string& path : folders) ListMatches(tag, path, path + "\\*");
}

void ListPattern(const std::string& tag, const std::string& pattern) {
  char expanded[MAX_PATH * 2] = "";
  ExpandEnvironmentStringsA(pattern.c_str(), expanded, sizeof expanded);
  std::string full = expanded;
  size_t slash = full.find_last_of("\\/");
  ListMatches(tag, slash == std::string::npos ? "." : full.substr(0, slash), full);
}

// --- the run ------------------------------------------------------------------------------

bool ParseOptions(int argc, char** argv, Options& options) {
  int i = 1;
  for (; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--") {
      ++i;
      break;
    }
    if (i + 1 >= argc) return false;
    if (arg == "--answer") options.answers.push_back(argv[++i]);
    else if (arg == "--list-temp") options.listPatterns.push_back(argv[++i]);
    else if (arg == "--env") options.environment.push_back(argv[++i]);
    else if (arg == "--timeout") options.timeoutSeconds = atof(argv[++i]);
    else return false;
  }
  for (; i < argc; ++i) options.command.push_back(argv[i]);
  return !options.command.empty() && options.timeoutSeconds > 0;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    Line("error usage: zxdriver [--answer TEXT] [--list-temp PATTERN] [--env NAME=VALUE] "
         "[--timeout SECONDS] -- program [args...]");
    return 2;
  }
  for (const std::string& setting : options.environment) {
    size_t equals = setting.find('=');
    if (equals == std::string::npos || equals == 0) {
      Line("error bad --env " + setting);
      return 2;
    }
    std::string value = setting.substr(equals + 1);
    SetEnvironmentVariableA(setting.substr(0, equals).c_str(), value.empty() ? nullptr : value.c_str());
  }

  std::string commandLine;
  for (const std::string& arg : options.command) commandLine += (commandLine.empty() ? "" : " ") + QuoteArgument(arg);
  std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back(0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    Line("error cannot start " + commandLine + ": error " + std::to_string(GetLastError()));
    return 3;
  }
  CloseHandle(process.hThread);

  int status = 0;
  size_t nextAnswer = 0;
  int boxes = 0;
  std::vector<HWND> seen;
  DWORD started = GetTickCount();
  for (;;) {
    if (WaitForSingleObject(process.hProcess, 50) != WAIT_TIMEOUT) break;
    if (GetTickCount() - started > options.timeoutSeconds * 1000) {
      TerminateProcess(process.hProcess, 259);
      WaitForSingleObject(process.hProcess, 5000);
      Line("timeout=" + std::to_string(static_cast<int>(options.timeoutSeconds)));
      status = 4;
      break;
    }
    // Forget boxes that are gone, so that a later window with a reused handle counts as new.
    seen.erase(std::remove_if(seen.begin(), seen.end(), [](HWND w) { return !IsWindow(w); }), seen.end());
    Watch watch{process.dwProcessId, {}};
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&watch));
    for (HWND box : watch.found) {
      if (std::find(seen.begin(), seen.end(), box) != seen.end()) continue;
      seen.push_back(box);
      std::string tag = std::to_string(++boxes);
      Sleep(100);  // let the box finish its initialisation before it is read
      std::vector<Button> buttons = Buttons(box);
      HWND defaultButton = DefaultButton(box, buttons);
      std::string names, defaultName;
      for (const Button& button : buttons) {
        names += (names.empty() ? "" : "|") + button.text;
        if (button.window == defaultButton) defaultName = button.text;
      }
      Line("box " + tag + " caption=" + Quoted(WindowText(box)) + " text=" + Quoted(BoxText(box)) +
           " icon=" + IconKind(box) + " buttons=" + Quoted(names) + " default=" + Quoted(defaultName) +
           " owner=" + (GetWindow(box, GW_OWNER) ? "yes" : "none"));
      for (const std::string& pattern : options.listPatterns) ListPattern(tag, pattern);

      HWND target = defaultButton;
      if (nextAnswer < options.answers.size()) {
        const std::string& wanted = options.answers[nextAnswer++];
        target = nullptr;
        for (const Button& button : buttons)
          if (button.text == wanted) target = button.window;
        for (const Button& button : buttons)
          if (!target && WithoutAmpersand(button.text) == WithoutAmpersand(wanted)) target = button.window;
        if (!target) {
          Line("error box " + tag + " has no button " + Quoted(wanted) + "; clicking its default");
          target = defaultButton;
          status = 5;
        }
      }
      if (target) {
        Line("click " + tag + " " + Quoted(WindowText(target)));
        // The dialog's own command, as a click of the button sends it.
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(target), BN_CLICKED), reinterpret_cast<LPARAM>(target));
      } else {
        Line("error box " + tag + " has no button to click; closing it");
        PostMessageA(box, WM_CLOSE, 0, 0);
        status = 5;
      }
    }
  }

  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  for (const std::string& pattern : options.listPatterns) ListPattern("end", pattern);
  if (nextAnswer < options.answers.size()) {
    Line("error " + std::to_string(options.answers.size() - nextAnswer) + " scripted answers left unused");
    if (status == 0) status = 5;
  }
  Line("exit=" + std::to_string(code));
  return status;
}
