// The user-facing side of the platform for the fuzzers: nobody watches, nothing answers.
#include "platform/platform.h"

namespace platform {
void addListLine(Window, std::string_view) {}
void addProblemLine(Window, std::string_view) {}
void addNoteLine(Window, std::string_view) {}
void paceProgress() {}
void enableButton(Window, int, bool) {}
void showMessage(Window, std::string_view, std::string_view) {}
bool askYesNo(Window, std::string_view) { return false; }
bool chooseOutputDirectory(Window, std::string*) { return false; }
void bringToForeground(Window) {}
}  // namespace platform
