/* The buffer module: its record, its states and its operations. */
#ifndef BUFFER_H
#define BUFFER_H

#include "common.h"

#define BUFFER_LIMIT (6 * MAX_ITEMS)
#define BUFFER_FLAG(bit) (1u << (bit))
#define BUFFER_VALID(p) ((p) != NULL && (p)->count >= 0)

enum buffer_state { BUFFER_IDLE, BUFFER_BUSY, BUFFER_DONE, BUFFER_FAILED };

struct buffer_item {
    int value;
    int count;
    struct buffer_item *next;
    char name[NAME_LEN];
};

typedef struct buffer {
    struct buffer_item items[MAX_ITEMS];
    struct buffer_item *head;
    int count;
    uint flags;
    enum buffer_state state;
    struct point where;
    int (*step)(struct buffer *self, int value);
    void (*reset)(struct buffer *self);
} buffer_t;

typedef int (*buffer_filter)(const struct buffer_item *item, int value);

union buffer_cell {
    int number;
    char letter;
    struct point where;
};

struct buffer_pair {
    struct buffer_item *first;
    struct buffer_item *second;
    union buffer_cell cell;
    int count;
};

#define BUFFER_ITEM_VALUE(it) ((it)->value)
#define BUFFER_IS_DONE(self) ((self)->state == BUFFER_DONE)

int buffer_pairs(buffer_t *self, struct buffer_pair *out, int size);
int buffer_cells(const struct buffer_pair *pairs, int count);
void *buffer_find_named(buffer_t *self, const char *name);
int buffer_apply(buffer_t *self, int (*fn)(int value, int scale), int scale);

void buffer_init(buffer_t *self);
int buffer_add(buffer_t *self, const char *name, int value);
int buffer_sum(const buffer_t *self);
int buffer_count_if(const buffer_t *self, buffer_filter filter, int value);
struct buffer_item *buffer_first(buffer_t *self);
int buffer_run(buffer_t *self, int rounds);
void buffer_visit(buffer_t *self, visit_fn visit, void *context);
int buffer_state_name(enum buffer_state state, char *out, int size);

#endif
