#pragma once
// The user-facing side of the platform for tests: it records every line, message and
// button change, and answers questions from a script.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace scripted {

struct Event {
  /// "line", "problem", "warning", "message", "ask", "choose", "button", "front"
  std::string kind;
  std::string text;  ///< the line or message text; for buttons "id on" / "id off"
  platform::Window window = nullptr;
};

/// Everything recorded since the last `reset`.
std::vector<Event> events();
/// The texts of the "line" and "problem" events, in order.
std::vector<std::string> listLines();

/// Forgets all events and answers.
void reset();
/// Answers for the next Yes/No questions, in order (when empty: No).
void answerYesNo(std::deque<bool> answers);
/// Calls `hook` with every progress line as it is added (cleared by `reset`), so a test
/// can act at a given point of a run, for example request a stop.
void onLine(std::function<void(const std::string&)> hook);
/// Answers for the next "Choose Output Directory" prompts (when empty: cancel).
void answerOutputDirectory(std::deque<std::string> directories);

}  // namespace scripted
