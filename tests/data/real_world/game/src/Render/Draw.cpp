#include "Common.h"

class Renderer {
public:
	void Draw(int frame);
	int width, height;
};

void Renderer::Draw(int frame) { Clip(frame, MAX_FRAMES); }
