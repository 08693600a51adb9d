namespace Calc.Tools.Models;

/// <summary>A customer of the calculator shop.</summary>
public class Customer
{
    public Customer(string name) => Name = name;

    public string Name { get; }
}
