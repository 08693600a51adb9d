Public Class MainForm
    Inherits System.Windows.Forms.Form

#Region " Windows Form Designer generated code "

    Public Sub New()
        MyBase.New()
        InitializeComponent()
    End Sub

    Friend WithEvents Picture As System.Windows.Forms.PictureBox
    Friend WithEvents OpenButton As System.Windows.Forms.Button

    Private Sub InitializeComponent()
        Me.Picture = New System.Windows.Forms.PictureBox
        Me.OpenButton = New System.Windows.Forms.Button
        Me.OpenButton.Text = "Open..."
        Me.Controls.Add(Me.Picture)
        Me.Controls.Add(Me.OpenButton)
        Me.Text = "Picture Viewer"
    End Sub

#End Region

    ' Shows the picture the user chooses.
    Private Sub OpenButton_Click(ByVal sender As Object, ByVal e As System.EventArgs) Handles OpenButton.Click
        Dim dialog As New OpenFileDialog
        dialog.InitialDirectory = Settings.LastFolder
        If dialog.ShowDialog() = DialogResult.OK Then
            Picture.Image = Image.FromFile(dialog.FileName)
            Settings.LastFolder = System.IO.Path.GetDirectoryName(dialog.FileName)
        End If
    End Sub
End Class
