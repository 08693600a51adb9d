' Visual Basic: the apostrophe comment and quotes in strings
Dim s As String = "<script>alert('vb')</script>" ' </a><script>alert(1)</script>
Dim t As String = "it's ""quoted"" <b>"
REM <script>alert(2)</script>
Class Fo"o
End Class
