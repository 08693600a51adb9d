#ifndef PARSER_H
#define PARSER_H

class Parser
{
public:
	int count(const char* text);
};

#endif
