#include "tests/support/scripted_user.h"

#include <mutex>

namespace scripted {
namespace {
std::mutex lock;
std::vector<Event> recorded;
std::deque<bool> yesNo;
std::deque<std::string> directories;
std::function<void(const std::string&)> lineHook;

void record(std::string kind, std::string_view text, platform::Window w) {
  std::lock_guard<std::mutex> hold(lock);
  recorded.push_back({std::move(kind), std::string(text), w});
}
}  // namespace

std::vector<Event> events() {
  std::lock_guard<std::mutex> hold(lock);
  return recorded;
}

std::vector<std::string> listLines() {
  std::vector<std::string> out;
  for (const Event& e : events())
    if (e.kind == "line" || e.kind == "problem") out.push_back(e.text);
  return out;
}

void reset() {
  std::lock_guard<std::mutex> hold(lock);
  recorded.clear();
  lineHook = nullptr;
  yesNo.clear();
  directories.clear();
}

void answerYesNo(std::deque<bool> answers) {
  std::lock_guard<std::mutex> hold(lock);
  yesNo = std::move(answers);
}

void onLine(std::function<void(const std::string&)> hook) {
  std::lock_guard<std::mutex> hold(lock);
  lineHook = std::move(hook);
}

void answerOutputDirectory(std::deque<std::string> dirs) {
  std::lock_guard<std::mutex> hold(lock);
  directories = std::move(dirs);
}

}  // namespace scripted

namespace platform {

void addListLine(Window w, std::string_view line) {
  scripted::record("line", line, w);
  std::function<void(const std::string&)> hook;
  {
    std::lock_guard<std::mutex> hold(scripted::lock);
    hook = scripted::lineHook;
  }
  if (hook) hook(std::string(line));
}
void addProblemLine(Window w, std::string_view line) { scripted::record("problem", line, w); }
void addNoteLine(Window w, std::string_view line) { scripted::record("note", line, w); }
void paceProgress() {}
void enableButton(Window w, int id, bool enabled) {
  scripted::record("button", std::to_string(id) + (enabled ? " on" : " off"), w);
}
void showMessage(Window w, std::string_view text, std::string_view caption) {
  scripted::record("message", std::string(caption) + ": " + std::string(text), w);
}
bool askYesNo(Window w, std::string_view text) {
  scripted::record("ask", text, w);
  std::lock_guard<std::mutex> hold(scripted::lock);
  if (scripted::yesNo.empty()) return false;
  bool answer = scripted::yesNo.front();
  scripted::yesNo.pop_front();
  return answer;
}
bool chooseOutputDirectory(Window w, std::string* directory) {
  scripted::record("choose", "Choose Output Directory", w);
  std::lock_guard<std::mutex> hold(scripted::lock);
  if (scripted::directories.empty()) return false;
  *directory = scripted::directories.front();
  scripted::directories.pop_front();
  return true;
}
void bringToForeground(Window w) { scripted::record("front", "", w); }

}  // namespace platform
