// tokenizer.cpp - the tokenizer of the calculator.
#include "tokenizer.h"

#include <cctype>
#include <cstdlib>

Tokenizer::Tokenizer(const std::string& text)
	: text(text), position(0), haveLookahead(false)
{
	lookahead.kind = End;
	lookahead.number = 0;
	lookahead.position = 0;
}

Token Tokenizer::next()
{
	if (haveLookahead)
	{
		haveLookahead = false;
		return lookahead;
	}
	return scan();
}

Token Tokenizer::peek()
{
	if (!haveLookahead)
	{
		lookahead = scan();
		haveLookahead = true;
	}
	return lookahead;
}

void Tokenizer::skipSpaces()
{
	while (position < text.size() && isspace((unsigned char)text[position]))
		position++;
}

Token Tokenizer::scan()
{
	skipSpaces();
	Token token;
	token.number = 0;
	token.position = position;
	if (position >= text.size())
	{
		token.kind = End;
		return token;
	}

	char c = text[position];
	if (isdigit((unsigned char)c) || c == '.')
	{
		/* strtod reads the longest number it can, exponent included. */
		const char* start = text.c_str() + position;
		char* end = 0;
		token.number = strtod(start, &end);
		if (end == start)
		{
			token.kind = Invalid;
			position++;
			return token;
		}
		position += end - start;
		token.kind = Number;
		return token;
	}

	position++;
	switch (c)
	{
	case '+': token.kind = Plus; break;
	case '-': token.kind = Minus; break;
	case '*': token.kind = Star; break;
	case '/': token.kind = Slash; break;
	case '(': token.kind = LeftParen; break;
	case ')': token.kind = RightParen; break;
	default:  token.kind = Invalid; break;
	}
	return token;
}
