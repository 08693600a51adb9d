#include <cstdio>
#include "calc.h"
#include "resource.h"

int main()
{
    Calculator calc;
    calc.store(calc.apply(Calculator::Multiply, 6.0, 7.0));
    std::printf("%g\n", calc.recall());
    return 0;
}
