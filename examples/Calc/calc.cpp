// calc.cpp - a recursive-descent evaluator for the four operations and parentheses.
//
//   expression := term   { ("+" | "-") term }
//   term       := factor { ("*" | "/") factor }
//   factor     := number | "-" factor | "(" expression ")"
#include "calc.h"

Calculator::Calculator()
	: memory(0), evaluations(0), failed(false)
{
}

Result Calculator::evaluate(const std::string& expression)
{
	Tokenizer tokens(expression);
	failed = false;
	failure.clear();

	Result result;
	result.value = parseExpression(tokens);
	if (!failed && tokens.peek().kind != End)
		fail("unexpected text after the expression");
	result.ok = !failed;
	result.message = failure;
	evaluations++;
	return result;
}

void Calculator::storeMemory(double value) { memory = value; }

double Calculator::recallMemory() const { return memory; }

int Calculator::evaluationCount() const { return evaluations; }

void Calculator::clear()
{
	memory = 0;
	evaluations = 0;
}

double Calculator::apply(Operation op, double left, double right)
{
	switch (op)
	{
	case Add:      return left + right;
	case Subtract: return left - right;
	case Multiply: return left * right;
	case Divide:
		if (right == 0)
		{
			fail("division by zero");
			return 0;
		}
		return left / right;
	}
	return 0;
}

double Calculator::parseExpression(Tokenizer& tokens)
{
	double value = parseTerm(tokens);
	for (;;)
	{
		TokenKind kind = tokens.peek().kind;
		if (kind != Plus && kind != Minus)
			return value;
		tokens.next();
		double right = parseTerm(tokens);
		value = apply(kind == Plus ? Add : Subtract, value, right);
	}
}

double Calculator::parseTerm(Tokenizer& tokens)
{
	double value = parseFactor(tokens);
	for (;;)
	{
		TokenKind kind = tokens.peek().kind;
		if (kind != Star && kind != Slash)
			return value;
		tokens.next();
		double right = parseFactor(tokens);
		value = apply(kind == Star ? Multiply : Divide, value, right);
	}
}

double Calculator::parseFactor(Tokenizer& tokens)
{
	Token token = tokens.next();
	switch (token.kind)
	{
	case Number:
		return token.number;
	case Minus:
		return -parseFactor(tokens);
	case LeftParen:
	{
		double value = parseExpression(tokens);
		if (tokens.next().kind != RightParen)
			fail("missing closing parenthesis");
		return value;
	}
	default:
		fail("a number or \"(\" was expected");
		return 0;
	}
}

void Calculator::fail(const std::string& why)
{
	// Only the first failure of a line is reported; it is the one that explains it.
	if (failed)
		return;
	failed = true;
	failure = why;
}
