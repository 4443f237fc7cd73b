// Running a step of the program as the process would run it, against the simulated Windows.
#pragma once
#include <functional>

#include "platform/sim/sim.h"

namespace fixture {

constexpr int kNotEnded = -1;

// The exit code the step ended the process with, or kNotEnded when it returned.
inline int RunUntilEnd(const std::function<void()>& step) {
  try {
    step();
  } catch (const sim::ProcessEnded& end) {
    return end.exitCode;
  }
  return kNotEnded;
}

}  // namespace fixture
