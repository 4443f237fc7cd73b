#include "platform/sim/sim.h"
#include "platform/ui.h"

namespace platform {

namespace {
// The answer of the button a user would reach with Enter.
Answer DefaultAnswer(const MessageBoxRequest& request) {
  static const Answer kAnswers[][3] = {
      {Answer::Ok, Answer::Ok, Answer::Ok},
      {Answer::Ok, Answer::Cancel, Answer::Cancel},
      {Answer::Yes, Answer::No, Answer::No},
      {Answer::Yes, Answer::No, Answer::Cancel},
      {Answer::Retry, Answer::Cancel, Answer::Cancel},
      {Answer::Abort, Answer::Retry, Answer::Ignore},
  };
  int index = request.defaultButton >= 1 && request.defaultButton <= 3 ? request.defaultButton - 1 : 0;
  return kAnswers[static_cast<int>(request.buttons)][index];
}
}  // namespace

Answer ShowMessageBox(const MessageBoxRequest& request) {
  sim::State& machine = sim::Machine();
  Answer answer = DefaultAnswer(request);
  if (!machine.answers.empty()) {
    answer = machine.answers.front();
    machine.answers.pop_front();
  }
  machine.messageBoxes.push_back({request, answer});
  return answer;
}

void ProcessMessages() {
  ++sim::Machine().processMessagesCalls;
  if (sim::Machine().onProcessMessages) sim::Machine().onProcessMessages();
}

void Pause(unsigned milliseconds) { sim::Machine().pausedMilliseconds += milliseconds; }

}  // namespace platform
