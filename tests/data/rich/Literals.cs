// Every shape of literal the rich colours know, in C#.
#region Literals (don't mind the apostrophe)
#if DEBUG
using System;
#endif

class Literals
{
    string plain = "a \"quoted\" word, http://example.org";
    string verbatim = @"C:\dir\""file"".txt";
    string lines = @"first line
second line with int and class
third";
    string name = $"Hello {user["name"]}, you are {age + 1} ({{braces}})";
    string both = $@"{path}\{file}";
    string raw = """
        A raw string with "quotes", \no escapes and {braces}
        """;
    char c = '\'';
    decimal d = 1_000.50m;
    long big = 0xFF_FF_FFL + 0b1010 + 1e3;
}
#endregion
