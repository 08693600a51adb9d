/* A small table of names and numbers with a visitor, and the text helpers. */
#include "common.h"

static int find(const table *t, const char *key)
{
    int i;
    for (i = 0; i < t->count; ++i)
        if (text_equal(t->keys[i], key))
            return i;
    return -1;
}

void table_init(table *t)
{
    t->count = 0;
    t->visit = NULL;
}

int table_put(table *t, const char *key, int value)
{
    int at = find(t, key);
    if (at >= 0) {
        t->values[at] = value;
        return at;
    }
    if (t->count >= MAX_ITEMS)
        return -1;
    t->keys[t->count] = key;
    t->values[t->count] = value;
    return t->count++;
}

int table_get(const table *t, const char *key, int *value)
{
    int at = find(t, key);
    if (at < 0)
        return 0;
    *value = t->values[at];
    return 1;
}

int text_length(const char *text)
{
    int length = 0;
    while (text[length] != '\0')
        length++;
    return length;
}

int text_equal(const char *left, const char *right)
{
    while (*left && *left == *right) {
        left++;
        right++;
    }
    return *left == *right;
}

void text_copy(char *out, const char *in, int size)
{
    int i;
    for (i = 0; i + 1 < size && in[i]; ++i)
        out[i] = in[i];
    if (size > 0)
        out[i] = '\0';
}
