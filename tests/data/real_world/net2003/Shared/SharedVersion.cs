namespace PocketCalc
{
	/// <summary>
	/// The version that every project of the solution shows.
	/// </summary>
	public class SharedVersion
	{
		public const string Text = "1.2";
	}
}
