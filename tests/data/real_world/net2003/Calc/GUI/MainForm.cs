using System;
using System.Drawing;
using System.Windows.Forms;
using PocketCalc.Engine;

namespace PocketCalc.GUI
{
	/// <summary>
	/// The calculator's window: a display and a keypad.
	/// </summary>
	public class MainForm : System.Windows.Forms.Form
	{
		private System.Windows.Forms.TextBox display;
		private System.Windows.Forms.Button equals;
		private System.ComponentModel.Container components = null;
		private Calculator calculator = new Calculator();

		public MainForm()
		{
			InitializeComponent();
		}

		protected override void Dispose(bool disposing)
		{
			if (disposing && components != null)
				components.Dispose();
			base.Dispose(disposing);
		}

		#region Windows Form Designer generated code
		private void InitializeComponent()
		{
			this.display = new System.Windows.Forms.TextBox();
			this.equals = new System.Windows.Forms.Button();
			this.SuspendLayout();
			this.display.Location = new System.Drawing.Point(8, 8);
			this.display.Size = new System.Drawing.Size(176, 20);
			this.equals.Location = new System.Drawing.Point(136, 40);
			this.equals.Text = "=";
			this.equals.Click += new System.EventHandler(this.OnEquals);
			this.ClientSize = new System.Drawing.Size(192, 240);
			this.Controls.Add(this.display);
			this.Controls.Add(this.equals);
			this.Text = "Pocket Calculator";
			this.ResumeLayout(false);
		}
		#endregion

		[STAThread]
		static void Main()
		{
			Application.Run(new MainForm());
		}

		private void OnEquals(object sender, System.EventArgs e)
		{
			display.Text = calculator.Evaluate(display.Text).ToString();
		}
	}
}
