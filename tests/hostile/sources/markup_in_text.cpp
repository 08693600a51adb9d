// Markup and script in comments and strings: </a><script>window.__pwned = 1;</script>
/* <script>alert("block")</script> </font></nobr> <img src=x onerror=alert(1)> */
#include "quote"class.h"
#include "x\" onmouseover=\"document.title='pwned'\" y.h"
#include "\" onmouseover=alert(1) x=\""
#include "javascript:alert(1)"
#include "JaVaScRiPt:document.title='pwned'"
#include "java&#115;cript:alert(1)"
#include "javascript&colon;alert(1)"
#include "&#106;avascript:alert(1)"
#include " javascript:alert(1)"
#include "data:text/html,<script>alert(1)</script>"
#include "vbscript:msgbox(1)"
#include "<script>alert(1)</script>.h"
#include "int.h" // a keyword as an included name
#include "new.h" /* class a { */

char c = '"'; printf("%d", a); // an odd quote, then a reference link and a class name
printf(x);
q = '"'; printf(x); a++;
a* pa; lt l; nbsp n; x < y > z; // names the markup and the escaping are made of

const char* a = "</a><script>document.title = 'pwned';</script>";
const char* b = "<a href=\"javascript:alert(1)\">click</a>";
char q = '"'; Plain p; // int "</font><script>alert(2)</script>
const char* c = "\"</nobr><script>alert(3)</script>";
int Plain::"x"() { return 0; } /* class Fake { */ Plain* pp = new Plain();
// Entities spelt in the source: &lt;script&gt;alert(4)&lt;/script&gt; &#60;b&#62; &amp;
<script>alert(5)</script>
<![CDATA[ <script>alert(6)</script> ]]> <!-- <script>alert(7)</script> -->
	tab	separated	<b>bold?</b>	end
