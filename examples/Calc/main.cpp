// main.cpp - reads expressions line by line and prints their values.
//
// Commands: "m" stores the last value in memory, "r" recalls it, "c" clears
// the memory, "q" quits.
#include <iostream>
#include <string>

#include "calc.h"
#include "display.h"

int main()
{
	Calculator calculator;
	Display display(Long);
	double last = 0;
	std::string line;

	std::cout << "Calc - type an expression, or q to quit." << std::endl;
	while (std::cout << "> " && std::getline(std::cin, line))
	{
		if (line == "q")
			break;
		if (line == "m") { calculator.storeMemory(last); continue; }
		if (line == "c") { calculator.clear(); continue; }
		if (line == "r")
		{
			std::cout << calculator.recallMemory() << std::endl;
			continue;
		}

		Result result = calculator.evaluate(line);
		if (result.ok)
			last = result.value;
		std::cout << display.show(result) << std::endl;
	}
	return 0;
}
