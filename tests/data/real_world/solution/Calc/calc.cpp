// calc.cpp – berechnet Summe, Differenz, Produkt und Quotient.
// Die Größe des Speichers ist genau eine Zahl (Zoë, 2023).
#include "calc.h"
#include "log.h"

double Calculator::apply(Operation op, double left, double right) const
{
    switch (op)
    {
    case Add:      return left + right;
    case Subtract: return left - right;
    case Multiply: return left * right;
    case Divide:   return right != 0.0 ? left / right : 0.0;
    }
    return 0.0;
}

void Calculator::store(double value) { memory = value; }

double Calculator::recall() const { return memory; }
