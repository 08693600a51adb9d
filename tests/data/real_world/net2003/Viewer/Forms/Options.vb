Public Class Options
    Inherits System.Windows.Forms.Form

    Friend WithEvents StretchBox As System.Windows.Forms.CheckBox

    Public Sub New()
        MyBase.New()
        StretchBox = New System.Windows.Forms.CheckBox
        StretchBox.Text = "Stretch pictures to the window"
        StretchBox.Checked = Settings.Stretch
        Controls.Add(StretchBox)
    End Sub

    Private Sub StretchBox_CheckedChanged(ByVal sender As Object, ByVal e As System.EventArgs) Handles StretchBox.CheckedChanged
        Settings.Stretch = StretchBox.Checked
    End Sub
End Class
