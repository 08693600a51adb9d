// Opens a sample document with the exported function.
extern "C" int ViewerOpen(const char* path);

int main() { return ViewerOpen("sample.pdf"); }
