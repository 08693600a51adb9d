// Character references spelt in C/C++: &param &copy; &lt; &gt; &amp; &#39; &nbsp; &#x41; &#65
// and ampersands that begin none: a && b, x & y, &(z), &*p, f(&), & at the end &
#pragma once
#include "refs&amp;copy.h"
#include "a&#39;b.h"

/// &lt;summary&gt;Copies &amp; notifies.&lt;/summary&gt; &copy;2024
class Registers {
public:
	void copy(int &param, const Notify &notify, int &&regs);
	int &ref, &copy_len;
	bool both(int a, int b) { return a && b & &a != &b; }
private:
	int *current_pos, &#x41;
};

struct Pair { int &first; int &&second; };

enum Flags {
	FLAG_A = 1 & 2,
	FLAG_B /* &lt;b&gt; &copy; */,
	FLAG_C
};

void g(void) {
	g(&param, &notify, &regs, &copy_len, &current_pos);
	const char* s = "&lt;script&gt;alert(1)&lt;/script&gt; &amp;&amp; &#39;&#x27;&quot; &nbsp;";
	char c = '&'; char d = '\x26'; int e = a&b|c&1; int f = x &0x0F;
	/* a block comment: &param, &copy;,
	   &lt;b&gt;, &#39; &#x41; &nbsp; && & */ int h = *&i;
	x &= ~y; p = &*q; r = &(s); t = &&label; // &amp; &
}

// "<" and ">" that a browser could read on into a longer reference: v<int>; i<cc; x>rsim;
template <class T> using Vec = std::vector<T>;
bool k = i<cc; bool m = j>dot; bool n = a<ri; bool o = b>rarr; int *q = p<rPar;
const char* t = "a>; b<cc; c>gtreqqless; d<ltimes;"; /* e>; f<hree; */ bool u = g<rie;
