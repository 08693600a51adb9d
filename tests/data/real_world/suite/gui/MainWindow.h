#pragma once
#include "..\include\viewer.h"

class MainWindow {
public:
    MainWindow();
private:
    Viewer viewer;
};
