// User interface: message boxes, pending window messages, pauses.
#pragma once
#include <string>

namespace platform {

enum class Icon { None, Error, Warning, Question, Information };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Answer { None, Ok, Cancel, Yes, No, Abort, Retry, Ignore };
enum class Owner { None, MainWindow };

struct MessageBoxRequest {
  Owner owner = Owner::None;
  std::string text;
  std::string caption;
  Icon icon = Icon::None;
  Buttons buttons = Buttons::Ok;
  int defaultButton = 1;  // 1 to 3, counted from the left
};

// Shows the box and waits for the user's answer. Answer::None when no box could be shown.
Answer ShowMessageBox(const MessageBoxRequest& request);

// Handles the window messages waiting in the queue, then returns.
void ProcessMessages();

// Waits the given time without processing messages.
void Pause(unsigned milliseconds);

}  // namespace platform
