#include <stdio.h>
#include "..\include\parser.h"

int main(int argc, char* argv[])
{
	Parser parser;
	for (int i = 1; i < argc; i++)
		printf("%d\n", parser.count(argv[i]));
	return 0;
}
