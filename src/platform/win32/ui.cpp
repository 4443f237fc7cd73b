#include "platform/ui.h"
#include "platform/win32/win32.h"

namespace platform {

namespace win32 {
HWND& MainWindow() {
  static HWND window = nullptr;
  return window;
}
}  // namespace win32

Answer ShowMessageBox(const MessageBoxRequest& request) {
  static const UINT kIcons[] = {0, MB_ICONERROR, MB_ICONWARNING, MB_ICONQUESTION, MB_ICONINFORMATION};
  static const UINT kButtons[] = {MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL, MB_RETRYCANCEL, MB_ABORTRETRYIGNORE};
  static const UINT kDefaults[] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};
  UINT flags = kIcons[static_cast<int>(request.icon)] | kButtons[static_cast<int>(request.buttons)];
  if (request.defaultButton >= 1 && request.defaultButton <= 3) flags |= kDefaults[request.defaultButton - 1];
  HWND owner = request.owner == Owner::MainWindow ? win32::MainWindow() : nullptr;
  if (!owner) flags |= MB_TASKMODAL;
  // No caption of its own: the system's default ("Error").
  const char* caption = request.caption.empty() ? nullptr : request.caption.c_str();
  switch (MessageBoxA(owner, request.text.c_str(), caption, flags)) {
    case IDOK: return Answer::Ok;
    case IDCANCEL: return Answer::Cancel;
    case IDYES: return Answer::Yes;
    case IDNO: return Answer::No;
    case IDABORT: return Answer::Abort;
    case IDRETRY: return Answer::Retry;
    case IDIGNORE: return Answer::Ignore;
    default: return Answer::None;
  }
}

void ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Pause(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace platform
