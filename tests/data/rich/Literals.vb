' Every shape of literal the rich colours know, in Visual Basic.
#Region "Literals"
#If DEBUG Then
Imports System
#End If

Module Literals
    Dim plain As String = "a ""quoted"" word, C:\no\escapes\"
    Dim apostrophe As String = "don't" ' this is a comment with "quotes"
    Dim numbers() As Integer = {0, 42, &HFF, &O17, &B1010, 1.5, 6.02E23, 10%, 20&}
    Dim x1 As Integer = y2 + z_3
End Module
#End Region
