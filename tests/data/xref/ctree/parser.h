/* The parser module: its record, its states and its operations. */
#ifndef PARSER_H
#define PARSER_H

#include "common.h"

#define PARSER_LIMIT (7 * MAX_ITEMS)
#define PARSER_FLAG(bit) (1u << (bit))
#define PARSER_VALID(p) ((p) != NULL && (p)->count >= 0)

enum parser_state { PARSER_IDLE, PARSER_BUSY, PARSER_DONE, PARSER_FAILED };

struct parser_item {
    int value;
    int count;
    struct parser_item *next;
    char name[NAME_LEN];
};

typedef struct parser {
    struct parser_item items[MAX_ITEMS];
    struct parser_item *head;
    int count;
    uint flags;
    enum parser_state state;
    struct point where;
    int (*step)(struct parser *self, int value);
    void (*reset)(struct parser *self);
} parser_t;

typedef int (*parser_filter)(const struct parser_item *item, int value);

union parser_cell {
    int number;
    char letter;
    struct point where;
};

struct parser_pair {
    struct parser_item *first;
    struct parser_item *second;
    union parser_cell cell;
    int count;
};

#define PARSER_ITEM_VALUE(it) ((it)->value)
#define PARSER_IS_DONE(self) ((self)->state == PARSER_DONE)

int parser_pairs(parser_t *self, struct parser_pair *out, int size);
int parser_cells(const struct parser_pair *pairs, int count);
void *parser_find_named(parser_t *self, const char *name);
int parser_apply(parser_t *self, int (*fn)(int value, int scale), int scale);

void parser_init(parser_t *self);
int parser_add(parser_t *self, const char *name, int value);
int parser_sum(const parser_t *self);
int parser_count_if(const parser_t *self, parser_filter filter, int value);
struct parser_item *parser_first(parser_t *self);
int parser_run(parser_t *self, int rounds);
void parser_visit(parser_t *self, visit_fn visit, void *context);
int parser_state_name(enum parser_state state, char *out, int size);

#endif
