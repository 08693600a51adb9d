#pragma once
// The document viewer.

class Viewer {
public:
    bool open(const char* path);
    void close();
private:
    int pages = 0;
};

enum class ViewMode { Single, Facing, Continuous };
