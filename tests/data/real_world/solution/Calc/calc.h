#pragma once

// A four-function calculator with one memory cell.
class Calculator
{
public:
    enum Operation { Add, Subtract, Multiply, Divide };

    double apply(Operation op, double left, double right) const;
    void store(double value);
    double recall() const;

private:
    double memory = 0.0;
};
