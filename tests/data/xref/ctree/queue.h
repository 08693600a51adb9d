/* The queue module: its record, its states and its operations. */
#ifndef QUEUE_H
#define QUEUE_H

#include "common.h"

#define QUEUE_LIMIT (4 * MAX_ITEMS)
#define QUEUE_FLAG(bit) (1u << (bit))
#define QUEUE_VALID(p) ((p) != NULL && (p)->count >= 0)

enum queue_state { QUEUE_IDLE, QUEUE_BUSY, QUEUE_DONE, QUEUE_FAILED };

struct queue_item {
    int value;
    int count;
    struct queue_item *next;
    char name[NAME_LEN];
};

typedef struct queue {
    struct queue_item items[MAX_ITEMS];
    struct queue_item *head;
    int count;
    uint flags;
    enum queue_state state;
    struct point where;
    int (*step)(struct queue *self, int value);
    void (*reset)(struct queue *self);
} queue_t;

typedef int (*queue_filter)(const struct queue_item *item, int value);

union queue_cell {
    int number;
    char letter;
    struct point where;
};

struct queue_pair {
    struct queue_item *first;
    struct queue_item *second;
    union queue_cell cell;
    int count;
};

#define QUEUE_ITEM_VALUE(it) ((it)->value)
#define QUEUE_IS_DONE(self) ((self)->state == QUEUE_DONE)

int queue_pairs(queue_t *self, struct queue_pair *out, int size);
int queue_cells(const struct queue_pair *pairs, int count);
void *queue_find_named(queue_t *self, const char *name);
int queue_apply(queue_t *self, int (*fn)(int value, int scale), int scale);

void queue_init(queue_t *self);
int queue_add(queue_t *self, const char *name, int value);
int queue_sum(const queue_t *self);
int queue_count_if(const queue_t *self, queue_filter filter, int value);
struct queue_item *queue_first(queue_t *self);
int queue_run(queue_t *self, int rounds);
void queue_visit(queue_t *self, visit_fn visit, void *context);
int queue_state_name(enum queue_state state, char *out, int size);

#endif
