// The user-facing side of the platform for the command: progress lines go to standard
// output (on a terminal the pages on one updating line, if asked), problems and messages
// to standard error, questions take the answers that the command's options gave. Every
// line is written as terminal text: a name cannot send the terminal a control sequence.
#include "platform/console.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace platform {

namespace {
std::mutex consoleLock;
ConsoleAnswers answers;
int problems = 0;

/// The updating line of the pages: how many pages the run announced and began, and how
/// wide the line now on the screen is (0: none is shown).
struct PageProgress {
  int expected = 0;
  int begun = 0;
  size_t shown = 0;
};
PageProgress progress;

void writeBytes(FILE* stream, std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

/// Blanks the updating line, so that a line written next stands alone.
void clearProgress() {
  if (progress.shown == 0) return;
  writeBytes(stdout, "\r" + std::string(progress.shown, ' ') + "\r");
  std::fflush(stdout);
  progress.shown = 0;
}

void writeLine(FILE* stream, std::string_view text) {
  clearProgress();
  writeBytes(stream, terminalText(text));
  std::fputc('\n', stream);
  std::fflush(stream);
}

/// `text` cut to `width` bytes, never inside a UTF-8 sequence. Counting bytes rather than
/// characters keeps the line within the terminal whatever the charset of the names.
std::string_view fitted(std::string_view text, size_t width) {
  if (text.size() <= width) return text;
  size_t cut = width;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

/// Shows the page just begun on the updating line: "[pages done/all] Converting ....".
void showPage(std::string_view line) {
  ++progress.begun;
  progress.expected = std::max(progress.expected, progress.begun);
  const std::string text = "[" + std::to_string(progress.begun - 1) + "/" +
                           std::to_string(progress.expected) + "] " + terminalText(line);
  // One column is kept free: a line that fills the terminal would wrap at its end.
  const int columns = terminalColumns(stdout);
  const std::string_view shown = fitted(text, static_cast<size_t>(std::max(columns - 1, 10)));
  std::string out = "\r" + std::string(shown);
  if (progress.shown > shown.size()) out += std::string(progress.shown - shown.size(), ' ');
  writeBytes(stdout, out);
  std::fflush(stdout);
  progress.shown = std::max(progress.shown, shown.size());
}

void appendEscaped(std::string& out, unsigned char byte) {
  static constexpr char hex[] = "0123456789abcdef";
  out += "\\x";
  out += hex[byte >> 4];
  out += hex[byte & 15];
}
}  // namespace

std::string terminalText(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (size_t i = 0; i < line.size(); ++i) {
    const auto byte = static_cast<unsigned char>(line[i]);
    const bool c1 = byte == 0xC2 && i + 1 < line.size() &&
                    (static_cast<unsigned char>(line[i + 1]) & 0xE0) == 0x80;
    if (byte < 0x20 || byte == 0x7F) {
      appendEscaped(out, byte);
    } else if (c1) {
      appendEscaped(out, byte);
      appendEscaped(out, static_cast<unsigned char>(line[++i]));
    } else {
      out += line[i];
    }
  }
  return out;
}

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
  if (answers.progress != ProgressStyle::None) writeLine(stdout, line);
}

void expectPages(Window, int count) {
  std::lock_guard<std::mutex> hold(consoleLock);
  progress.expected += count;
}

void addPageLine(Window, std::string_view line) {
  std::lock_guard<std::mutex> hold(consoleLock);
  if (answers.progress == ProgressStyle::Lines) writeLine(stdout, line);
  else if (answers.progress == ProgressStyle::Bar) showPage(line);
}

void addProblemLine(Window, std::string_view line) {
  std::lock_guard<std::mutex> hold(consoleLock);
  ++problems;
  if (answers.progress != ProgressStyle::None) writeLine(stdout, line);
  std::string message = "quillon: ";
  message += line;
  writeLine(stderr, message);
}

void addWarningLine(Window, std::string_view line) {
  std::lock_guard<std::mutex> hold(consoleLock);
  std::string message = "quillon: ";
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
