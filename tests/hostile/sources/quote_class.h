// Becomes the header quote"class.h: class names with quotes and markup in them, and an
// ordinary class that the other files use (their pages link to it).
#pragma once

class Fo"o {
public:
    int value;
    void set(int v);
};

class A"onmouseover="document.title='pwned'" {
    int x;
};

struct Ev'il\ {
    char c;
};

enum Co"lor { Red, Green };

class Plain {
public:
    Plain();
    int "</a><script>window.__pwned=1</script>"();
};

class x<script>alert(1)</script> {
};

// Names that the markup and the escaping are made of.
struct a { int i; };
struct lt { };
class nbsp { };
class font { };
