// Every shape of literal the rich colours know, in Java.
package demo;

class Literals {
    String plain = "a \"quoted\" word, a // that is no comment";
    char quote = '"';
    char tab = '\t';
    String block = """
        A text block over lines, with "quotes",
        an escaped \""" and int, class and return as text.
        """;
    int[] numbers = {0, 42, 0x7F, 017, 0b1010, 1_000_000, 123L, 3.14, 6.02e23, 1e-9f, .5};
    int x1 = y2 + z_3; // x1 "not a string"
}
