' The viewer's settings, kept for as long as it runs.
Module Settings
    Public LastFolder As String = ""
    Public Stretch As Boolean = False
End Module
