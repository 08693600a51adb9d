/* Shared by every file of the tree: types, macros and prototypes. */
#ifndef COMMON_H
#define COMMON_H

#include <stddef.h>

#define MAX_ITEMS 64
#define NAME_LEN 32
#define SQUARE(x) ((x) * (x))
#define MIN(a, b) ((a) < (b) ? (a) : (b))
#define MAX(a, b) ((a) > (b) ? (a) : (b))
#define COUNT_OF(array) (sizeof(array) / sizeof((array)[0]))

typedef unsigned int uint;
typedef int (*compare_fn)(const void *left, const void *right);
typedef void (*visit_fn)(void *item, void *context);

enum color { COLOR_RED, COLOR_GREEN, COLOR_BLUE, COLOR_COUNT };

typedef enum shape_kind { SHAPE_CIRCLE, SHAPE_SQUARE, SHAPE_TRIANGLE } shape_kind;

struct point {
    int x;
    int y;
};

struct size {
    int width;
    int height;
};

struct node {
    struct node *next;
    void *value;
    int count;
};

struct list {
    struct node *head;
    struct node *tail;
    int count;
    compare_fn compare;
};

typedef struct shape {
    shape_kind kind;
    struct point origin;
    struct size size;
    enum color color;
    int count;
    char name[NAME_LEN];
} shape;

typedef struct table {
    const char *keys[MAX_ITEMS];
    int values[MAX_ITEMS];
    int count;
    visit_fn visit;
} table;

void list_init(struct list *list, compare_fn compare);
void list_push(struct list *list, void *value);
int list_count(const struct list *list);
void list_each(struct list *list, visit_fn visit, void *context);
void *list_find(struct list *list, const void *key);

void shape_init(shape *s, shape_kind kind, int x, int y);
int shape_area(const shape *s);
int shape_perimeter(const shape *s);
void shape_move(shape *s, struct point delta);
int shape_store(const shape *s);
int shape_total(int count);
int shape_retry(shape *s, int tries);

void table_init(table *t);
int table_put(table *t, const char *key, int value);
int table_get(const table *t, const char *key, int *value);

int text_length(const char *text);
int text_equal(const char *left, const char *right);
void text_copy(char *out, const char *in, int size);

#endif
