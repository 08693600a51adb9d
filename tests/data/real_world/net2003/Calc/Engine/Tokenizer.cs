using System;
using System.Globalization;

namespace PocketCalc.Engine
{
	/// <summary>
	/// Splits a line into numbers and operators.
	/// </summary>
	public class Tokenizer
	{
		private string text;
		private int position;

		public Tokenizer(string text)
		{
			this.text = text;
		}

		public char Peek()
		{
			SkipBlanks();
			return position < text.Length ? text[position] : '\0';
		}

		public char Next()
		{
			char c = Peek();
			position++;
			return c;
		}

		public double Number()
		{
			SkipBlanks();
			int start = position;
			while (position < text.Length && (Char.IsDigit(text[position]) || text[position] == '.'))
				position++;
			return Double.Parse(text.Substring(start, position - start), CultureInfo.InvariantCulture);
		}

		private void SkipBlanks()
		{
			while (position < text.Length && text[position] == ' ')
				position++;
		}
	}
}
