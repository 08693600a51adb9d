// display.cpp - the calculator's display.
#include "display.h"

#include <cstdio>

Display::Display(Precision precision) : precision(precision)
{
}

void Display::setPrecision(Precision value) { precision = value; }

std::string Display::show(const Result& result) const
{
	if (!result.ok)
		return "Error: " + result.message;
	return "= " + formatNumber(result.value);
}

std::string Display::formatNumber(double value) const
{
	char text[64];
	snprintf(text, sizeof text, "%.*g", (int)precision, value);
	return text;
}
