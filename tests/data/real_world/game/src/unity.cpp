// Everything in one translation unit: the build compiles only this file.
#include "stdafx.h"
#include <windows.h>
#include "afxres.h"
#include "Render\Draw.cpp"
#include "Audio/Draw.cpp"
#include "MAX.H"
#include "../extern/zlib.h"
#include "mixer.c"
