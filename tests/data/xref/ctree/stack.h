/* The stack module: its record, its states and its operations. */
#ifndef STACK_H
#define STACK_H

#include "common.h"

#define STACK_LIMIT (5 * MAX_ITEMS)
#define STACK_FLAG(bit) (1u << (bit))
#define STACK_VALID(p) ((p) != NULL && (p)->count >= 0)

enum stack_state { STACK_IDLE, STACK_BUSY, STACK_DONE, STACK_FAILED };

struct stack_item {
    int value;
    int count;
    struct stack_item *next;
    char name[NAME_LEN];
};

typedef struct stack {
    struct stack_item items[MAX_ITEMS];
    struct stack_item *head;
    int count;
    uint flags;
    enum stack_state state;
    struct point where;
    int (*step)(struct stack *self, int value);
    void (*reset)(struct stack *self);
} stack_t;

typedef int (*stack_filter)(const struct stack_item *item, int value);

union stack_cell {
    int number;
    char letter;
    struct point where;
};

struct stack_pair {
    struct stack_item *first;
    struct stack_item *second;
    union stack_cell cell;
    int count;
};

#define STACK_ITEM_VALUE(it) ((it)->value)
#define STACK_IS_DONE(self) ((self)->state == STACK_DONE)

int stack_pairs(stack_t *self, struct stack_pair *out, int size);
int stack_cells(const struct stack_pair *pairs, int count);
void *stack_find_named(stack_t *self, const char *name);
int stack_apply(stack_t *self, int (*fn)(int value, int scale), int scale);

void stack_init(stack_t *self);
int stack_add(stack_t *self, const char *name, int value);
int stack_sum(const stack_t *self);
int stack_count_if(const stack_t *self, stack_filter filter, int value);
struct stack_item *stack_first(stack_t *self);
int stack_run(stack_t *self, int rounds);
void stack_visit(stack_t *self, visit_fn visit, void *context);
int stack_state_name(enum stack_state state, char *out, int size);

#endif
