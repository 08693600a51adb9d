// Java: character references in javadoc, strings and code
/** Returns a &lt; b &amp;&amp; c, {@code x &copy; y} &#39;q&#39; &#x41; &nbsp; &param */
class References {
    String s = "&amp; &lt;b&gt; &#39; &nbsp; &param &copy;";
    boolean test(int a, int b) { return a > 0 && b & a != 0; }
    int mask = FLAGS &0xFF, other = A & B;
    /* &lt;/b&gt; &amp;
       &#x41; && & */ int after = a&b;
}

// "<" and ">" that a browser could read on: List<String>; i<cc; x>lPar;
class Angles { List<String> v; boolean k = i<cc; boolean m = j>dot; String s = "a>; b<larr;"; }
