// tokenizer.h - splits a line of input into numbers, operators and parentheses.
#ifndef TOKENIZER_H
#define TOKENIZER_H

#include <string>

// The kinds of token the calculator understands.
enum TokenKind
{
	Number,
	Plus,
	Minus,
	Star,
	Slash,
	LeftParen,
	RightParen,
	End,
	Invalid
};

struct Token
{
	TokenKind kind;
	double number;     // the value, when kind is Number
	size_t position;   // where the token starts in the line
};

class Tokenizer
{
public:
	explicit Tokenizer(const std::string& text);

	// The next token; End once the line is used up.
	Token next();
	// The next token, left in place for the following call of next().
	Token peek();

private:
	Token scan();
	void skipSpaces();

	std::string text;
	size_t position;
	Token lookahead;
	bool haveLookahead;
};

#endif // TOKENIZER_H
