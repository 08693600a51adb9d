using System;
using System.Collections;

namespace PocketCalc.Engine
{
	/// <summary>
	/// Evaluates the tokens of one line, left to right, with the usual precedence.
	/// </summary>
	public class Calculator
	{
		private double memory;
		private ArrayList history = new ArrayList();

		public double Memory
		{
			get { return memory; }
			set { memory = value; }
		}

		public double Evaluate(string line)
		{
			Tokenizer tokens = new Tokenizer(line);
			double result = Sum(tokens);
			history.Add(line + " = " + result);
			return result;
		}

		private double Sum(Tokenizer tokens)
		{
			double total = Product(tokens);
			while (tokens.Peek() == '+' || tokens.Peek() == '-')
			{
				char op = tokens.Next();
				double right = Product(tokens);
				total = op == '+' ? total + right : total - right;
			}
			return total;
		}

		private double Product(Tokenizer tokens)
		{
			double total = tokens.Number();
			while (tokens.Peek() == '*' || tokens.Peek() == '/')
			{
				char op = tokens.Next();
				double right = tokens.Number();
				total = op == '*' ? total * right : total / right;
			}
			return total;
		}
	}
}
