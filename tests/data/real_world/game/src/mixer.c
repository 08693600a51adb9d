/* mixed in by the unity build */
static int mix(int a, int b) { return (a + b) / 2; }
