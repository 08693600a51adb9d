namespace Calc;

public static class Version
{
    public const string Text = "1.2.0";
}
