/* The timer module: its record, its states and its operations. */
#ifndef TIMER_H
#define TIMER_H

#include "common.h"

#define TIMER_LIMIT (8 * MAX_ITEMS)
#define TIMER_FLAG(bit) (1u << (bit))
#define TIMER_VALID(p) ((p) != NULL && (p)->count >= 0)

enum timer_state { TIMER_IDLE, TIMER_BUSY, TIMER_DONE, TIMER_FAILED };

struct timer_item {
    int value;
    int count;
    struct timer_item *next;
    char name[NAME_LEN];
};

typedef struct timer {
    struct timer_item items[MAX_ITEMS];
    struct timer_item *head;
    int count;
    uint flags;
    enum timer_state state;
    struct point where;
    int (*step)(struct timer *self, int value);
    void (*reset)(struct timer *self);
} timer_t;

typedef int (*timer_filter)(const struct timer_item *item, int value);

union timer_cell {
    int number;
    char letter;
    struct point where;
};

struct timer_pair {
    struct timer_item *first;
    struct timer_item *second;
    union timer_cell cell;
    int count;
};

#define TIMER_ITEM_VALUE(it) ((it)->value)
#define TIMER_IS_DONE(self) ((self)->state == TIMER_DONE)

int timer_pairs(timer_t *self, struct timer_pair *out, int size);
int timer_cells(const struct timer_pair *pairs, int count);
void *timer_find_named(timer_t *self, const char *name);
int timer_apply(timer_t *self, int (*fn)(int value, int scale), int scale);

void timer_init(timer_t *self);
int timer_add(timer_t *self, const char *name, int value);
int timer_sum(const timer_t *self);
int timer_count_if(const timer_t *self, timer_filter filter, int value);
struct timer_item *timer_first(timer_t *self);
int timer_run(timer_t *self, int rounds);
void timer_visit(timer_t *self, visit_fn visit, void *context);
int timer_state_name(enum timer_state state, char *out, int size);

#endif
