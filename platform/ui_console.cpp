// The user-facing side of the platform for the command: progress lines go to standard
// output, problems and messages to standard error, questions take the answers that the
// command's options gave.
#include "platform/console.h"
#include "platform/platform.h"

#include <cstdio>
#include <mutex>

namespace platform {

namespace {
std::mutex consoleLock;
ConsoleAnswers answers;
int problems = 0;

void writeLine(FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}
}  // namespace

void setConsoleAnswers(const ConsoleAnswers& a) {
  std::lock_guard<std::mutex> hold(consoleLock);
  answers = a;
}

int consoleProblemCount() {
  std::lock_guard<std::mutex> hold(consoleLock);
  return problems;
}

void addListLine(Window, std::string_view line) {
  std::lock_guard<std::mutex> hold(consoleLock);
  writeLine(stdout, line);
}

void addProblemLine(Window, std::string_view line) {
  std::lock_guard<std::mutex> hold(consoleLock);
  ++problems;
  writeLine(stdout, line);
  std::string message = "quillon: ";
  message += line;
  writeLine(stderr, message);
}

void addNoteLine(Window, std::string_view line) {
  std::lock_guard<std::mutex> hold(consoleLock);
  writeLine(stdout, line);
  std::string message = "quillon: note: ";
  message += line;
  writeLine(stderr, message);
}

void paceProgress() {}

void enableButton(Window, int, bool) {}

void showMessage(Window, std::string_view text, std::string_view caption) {
  std::lock_guard<std::mutex> hold(consoleLock);
  if (caption == "Error") ++problems;
  std::string message = "quillon: ";
  message += text;
  writeLine(stderr, message);
}

bool askYesNo(Window, std::string_view) {
  std::lock_guard<std::mutex> hold(consoleLock);
  return answers.openResult;
}

bool chooseOutputDirectory(Window, std::string* directory) {
  std::lock_guard<std::mutex> hold(consoleLock);
  if (!answers.haveOutputDirectory) return false;
  *directory = answers.outputDirectory;
  return true;
}

void bringToForeground(Window) {}

}  // namespace platform
