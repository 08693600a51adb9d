// calc.h - the calculator's engine: evaluates one line such as "2 * (3 + 4)".
#ifndef CALC_H
#define CALC_H

#include <string>
#include "tokenizer.h"

/* The four operations of the calculator, in the order of its keypad. */
enum Operation
{
	Add,
	Subtract,
	Multiply,
	Divide
};

// What an evaluation gives back: a value, or a message saying what went wrong.
struct Result
{
	double value;
	bool ok;
	std::string message;
};

class Calculator
{
public:
	Calculator();

	Result evaluate(const std::string& expression);
	void storeMemory(double value);
	double recallMemory() const;
	int evaluationCount() const;
	void clear();

private:
	double apply(Operation op, double left, double right);
	double parseExpression(Tokenizer& tokens);
	double parseTerm(Tokenizer& tokens);
	double parseFactor(Tokenizer& tokens);
	void fail(const std::string& why);

	double memory;
	int evaluations;
	bool failed;
	std::string failure;
};

#endif // CALC_H
