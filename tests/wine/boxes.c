/* The driver's own check: shows a fixed series of message boxes, one of each icon and of several
   button sets, one of them owned by a window, and ends with the answers as its exit code, one
   decimal digit per box (IDOK 1, IDCANCEL 2, IDRETRY 4, IDYES 6, IDNO 7), first box first.
   With the argument "hang" it shows nothing and never ends. */
#include <windows.h>
#include <string.h>

int main(int argc, char** argv) {
  if (argc > 1 && strcmp(argv[1], "hang") == 0) Sleep(INFINITE);
  static const struct {
    UINT flags;
    int owned;
    const char *text, *caption;
  } boxes[] = {
      {MB_OK | MB_ICONERROR, 0, "The first box.", "Error"},
      {MB_OKCANCEL | MB_ICONWARNING, 0, "Second \"quoted\"\nand on two lines.", "Warning"},
      {MB_YESNO | MB_ICONQUESTION, 0, "Third?", "Question"},
      {MB_YESNOCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2, 1, "Fourth, owned.", "Information"},
      {MB_RETRYCANCEL, 0, "Fifth, no icon.", "Plain"},
  };
  HWND owner = CreateWindowA("STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                             NULL, NULL, GetModuleHandleA(NULL), NULL);
  int code = 0;
  for (unsigned i = 0; i < sizeof boxes / sizeof boxes[0]; ++i)
    code = code * 10 + MessageBoxA(boxes[i].owned ? owner : NULL, boxes[i].text, boxes[i].caption, boxes[i].flags);
  DestroyWindow(owner);
  return code;
}
