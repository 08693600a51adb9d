#pragma once
struct RenderState { int frames; };
inline int Clip(int v, int m) { return v < m ? v : m; }
