namespace Calc.Tools.Models;

public enum OrderState { Open, Paid, Shipped }

public struct Order
{
    public int Number;
    public OrderState State;
}
