// The main window of the viewer.
#include "MainWindow.h"

MainWindow::MainWindow() : viewer() {}
