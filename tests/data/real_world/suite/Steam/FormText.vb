Public Class FormText
    Private Sub FormText_Load(sender As Object, e As EventArgs) Handles MyBase.Load
        Text = "Steam tables"
    End Sub
End Class
