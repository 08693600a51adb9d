// parser.cpp - counts the words of a line.
#include "parser.h"
#include <ctype.h>

int Parser::count(const char* text)
{
	int words = 0;
	bool inWord = false;
	for (; *text; text++)
	{
		if (isspace((unsigned char)*text)) inWord = false;
		else if (!inWord) { inWord = true; words++; }
	}
	return words;
}
