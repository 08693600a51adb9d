#define MAX_FRAMES 60
