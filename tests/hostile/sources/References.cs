// C#: character references in doc comments, strings and code
using System;
/// <summary>Compares a &lt; b &amp;&amp; c &gt; d, returns &#39;x&#39; &#x41; &copy;</summary>
/// <param name="value">the &param value &nbsp; &amp</param>
class References {
    string s = "&lt;b&gt; &amp; &#39; &#x41; &nbsp; &param";
    string v = @"&copy; && & x";
    unsafe void Take(int &param, ref int &copy) { int* p = &param; bool b = x && y & z; }
    int flags = A & B, mask = C &0x0F;
    /* &lt;/summary&gt; &amp;
       &#39; && & */ int after = a&b;
}
enum Kind { First /* &amp; */, Second }

// "<" and ">" that a browser could read on: List<int>; i<cc; x>rsim;
class Angles { List<int> v = new List<int>(); bool k = i<cc; bool m = j>quest; string s = "a>; b<rif;"; }
