// Times a thousand opens.
extern "C" int ViewerOpen(const char* path);

struct Timer { long start = 0; };

int main() {
    Timer timer;
    for (int i = 0; i < 1000; ++i) ViewerOpen("sample.pdf");
    return 0;
}
