namespace Calc.Tools.Legacy;

// Kept for reference; removed from the build.
public class OldParser { }
