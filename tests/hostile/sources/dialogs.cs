// C#: every way a page could be made to open a dialog or run a script.
using System;
class Dialogs {
    string a = "<script>alert('cs')</script>";
    string b = "<body onload=alert(1)>";
    string c = "<iframe src=javascript:alert(1)></iframe>";
    string d = "<svg onload=confirm(1)>";
    // <script>prompt(1)</script>
    /* <script>print()</script> */
    void Plain() { new Plain(); }
}
struct Q"uote { }
enum E'num { A, B }
