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

void queue_init(queue_t *self);
int queue_add(queue_t *self, const char *name, int value);
int queue_sum(const queue_t *self);
int queue_count_if(const queue_t *self, queue_filter filter, int value);
struct queue_item *queue_first(queue_t *self);
int queue_run(queue_t *self, int rounds);
void queue_visit(queue_t *self, visit_fn visit, void *context);
int queue_state_name(enum queue_state state, char *out, int size);

#endif
