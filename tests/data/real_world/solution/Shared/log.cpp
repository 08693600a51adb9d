// log.cpp © 2003 Jürgen Müller – Protokoll in die Konsole.
#include <cstdio>
#include "log.h"

void logLine(const char* text)
{
	std::fputs(text, stderr);	// » unbuffered «
}
