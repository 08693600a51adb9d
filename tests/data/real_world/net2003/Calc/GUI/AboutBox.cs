using System;
using System.Windows.Forms;

namespace PocketCalc.GUI
{
	/// <summary>
	/// Shows the program's name and version.
	/// </summary>
	public class AboutBox : System.Windows.Forms.Form
	{
		private System.Windows.Forms.Label title;

		public AboutBox()
		{
			title = new System.Windows.Forms.Label();
			title.Text = "Pocket Calculator " + SharedVersion.Text;
			Controls.Add(title);
		}
	}
}
