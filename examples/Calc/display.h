// display.h - formats results the way the calculator's display shows them.
#ifndef DISPLAY_H
#define DISPLAY_H

#include <string>
#include "calc.h"

// How many digits the display shows after the decimal point.
enum Precision
{
	Short = 4,
	Long = 12
};

class Display
{
public:
	explicit Display(Precision precision = Short);

	std::string show(const Result& result) const;
	void setPrecision(Precision value);

private:
	std::string formatNumber(double value) const;

	Precision precision;
};

#endif // DISPLAY_H
