<Global.Microsoft.VisualBasic.CompilerServices.DesignerGenerated()> _
Partial Class FormText
    Inherits System.Windows.Forms.Form

    Private components As System.ComponentModel.IContainer
End Class
