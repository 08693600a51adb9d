#include "Common.h"
#include "../inc/Max.h"

class Voice {
public:
	void Draw(int sample);
private:
	int volume;
};
