' Visual Basic: & joins strings; character references in comments and strings
Dim s As String = "&amp; &lt;b&gt; &#39; &nbsp;" & name & "&param" ' &copy; &lt;b&gt; &amp;
s &= "&#x41;" & vbCrLf ' &param & &nbsp; &&
Dim h As Integer = &H1F And &O17 ' hexadecimal &H and octal &O
If a And b Then s = a&b & "&copy;" ' &#39;
REM &lt;script&gt; &amp; &
' "<" and ">" that a browser could read on: a>; i<cc; x>rsim;
Dim s2 As String = "a>; b<cc; c>rless;" : If i<cir Then x = 1 ' y>cc; z<quest;
