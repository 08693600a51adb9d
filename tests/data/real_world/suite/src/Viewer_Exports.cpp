// The functions the viewer exports to its plug-ins.
#include "../include/Viewer.h"
#include "Render/GL/Shader.h"

extern "C" int ViewerOpen(const char* path) {
    Viewer viewer;
    return viewer.open(path) ? 0 : 1;
}
