// string tools.cpp – trims blanks (© 1999).
#include <string.h>

char* trimRight(char* text)
{
	size_t n = strlen(text);
	while (n > 0 && text[n - 1] == ' ') text[--n] = '\0';
	return text;
}
