// Every shape of literal the rich colours know, in C++.
#include <stdio.h>
#include "literals.h"
  #  define GREETING "hello, world" /* a directive goes on after a comment */
#define TWICE(x) \
  ((x) + (x))

static const char* plain = "a \"quoted\" word, a // that is no comment";
const wchar_t* wide = L"wide"; auto u = u8"utf-8"; char16_t c16 = u'x'; char32_t c32 = U'\'';
const char* path = R"(C:\no\escapes\here)";
const char* sql = R"sql(
  SELECT "name" FROM t -- int and return stay text here
  WHERE a = ')' AND b = ")";
)sql";
int numbers[] = {0, 42, 0x1Fu, 0XdeadBEEF, 017, 0b1010, 1'000'000, 123ULL, 3.14, 6.02e23,
                 1e-9f, .5, 0x1.8p3, 'A'};
int x1 = y2 + z_3;  /* names keep their digits: x1 y2 z_3 "not a string" */
char unterminated = "to the end of the line;
