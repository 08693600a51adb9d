/* The queue module. */
#include "queue.h"

#define LOCAL_SCALE 2
#define SCALE(v) ((v) * LOCAL_SCALE)

static int calls;

static int helper(int count)
{
    int total = 0;
    int i;
    for (i = 0; i < count; ++i)
        total += SCALE(i);
    calls++;
    return total;
}

static int check(const struct queue_item *item)
{
    return item != NULL && item->count >= 0 && item->value < QUEUE_LIMIT;
}

static int default_step(queue_t *self, int value)
{
    int count = self->count;
    if (count >= MAX_ITEMS)
        return -1;
    self->items[count].value = value;
    self->items[count].count = helper(value % 8);
    self->items[count].next = NULL;
    if (count > 0)
        self->items[count - 1].next = &self->items[count];
    self->count = count + 1;
    return self->count;
}

static void default_reset(queue_t *self)
{
    self->count = 0;
    self->head = NULL;
    self->state = QUEUE_IDLE;
    self->flags = 0;
}

void queue_init(queue_t *self)
{
    self->step = default_step;
    self->reset = default_reset;
    self->reset(self);
    self->where.x = 0;
    self->where.y = 0;
}

int queue_add(queue_t *self, const char *name, int value)
{
    int at = self->step(self, value);
    struct queue_item *item;
    if (at < 0) {
        self->state = QUEUE_FAILED;
        return at;
    }
    item = &self->items[at - 1];
    text_copy(item->name, name, NAME_LEN);
    if (self->head == NULL)
        self->head = item;
    self->flags |= QUEUE_FLAG(at % 16);
    self->state = QUEUE_BUSY;
    return at;
}

int queue_sum(const queue_t *self)
{
    int sum = 0;
    const struct queue_item *item;
    for (item = self->head; item != NULL; item = item->next) {
        if (!check(item))
            continue;
        sum += item->value;
    }
    return sum;
}

int queue_count_if(const queue_t *self, queue_filter filter, int value)
{
    int count = 0;
    int i;
    for (i = 0; i < self->count; ++i) {
        const struct queue_item *item = &self->items[i];
        if (filter(item, value))
            count++;
    }
    return count;
}

struct queue_item *queue_first(queue_t *self)
{
    if (!QUEUE_VALID(self))
        return NULL;
    return self->head;
}

int queue_run(queue_t *self, int rounds)
{
    int round;
    int value = 0;
    for (round = 0; round < rounds; ++round) {
        int value = SQUARE(round) + helper(round);
        if (queue_add(self, "round", value) < 0)
            break;
    }
    for (round = 0; round < self->count; ++round)
        value = MAX(value, self->items[round].value);
    self->state = QUEUE_DONE;
    return value + calls;
}

void queue_visit(queue_t *self, visit_fn visit, void *context)
{
    struct queue_item *item = queue_first(self);
    while (item) {
        struct queue_item *next = item->next;
        visit(item, context);
        item = next;
    }
}

int queue_state_name(enum queue_state state, char *out, int size)
{
    static const char *const names[] = {"idle", "busy", "done", "failed"};
    enum queue_state last = QUEUE_FAILED;
    if (state > last || (int)state >= (int)COUNT_OF(names))
        return 0;
    text_copy(out, names[state], MIN(size, NAME_LEN));
    return text_length(out);
}

int queue_pairs(queue_t *self, struct queue_pair *out, int size)
{
    int count = 0;
    struct queue_item *item = self->head;
    while (item != NULL && item->next != NULL && count < size) {
        struct queue_pair *pair = &out[count];
        pair->first = item;
        pair->second = item->next;
        pair->cell.number = QUEUE_ITEM_VALUE(item) + QUEUE_ITEM_VALUE(item->next);
        pair->count = count;
        item = item->next->next;
        count++;
    }
    return count;
}

int queue_cells(const struct queue_pair *pairs, int count)
{
    int total = 0;
    int i;
    for (i = 0; i < count; ++i) {
        union queue_cell cell = pairs[i].cell;
        total += cell.number + pairs[i].count;
        if (pairs[i].first != NULL)
            total += pairs[i].first->count;
        cell.where.x = total;
        total += cell.where.x % 3;
    }
    return total;
}

void *queue_find_named(queue_t *self, const char *name)
{
    struct queue_item *item;
    for (item = self->head; item; item = item->next)
        if (text_equal(item->name, name))
            return (void *)item;
    return NULL;
}

static int times(int value, int scale)
{
    return value * scale;
}

static int plus(int value, int scale)
{
    return value + scale;
}

int queue_apply(queue_t *self, int (*fn)(int value, int scale), int scale)
{
    static int (*const table[])(int, int) = {times, plus};
    int calls = 0;
    int i;
    if (fn == NULL)
        fn = table[scale % 2];
    for (i = 0; i < self->count; ++i) {
        struct queue_item *item = &self->items[i];
        item->value = fn(item->value, scale);
        calls++;
    }
    if (QUEUE_IS_DONE(self))
        self->where.x += calls;
    return calls + (int)sizeof(struct queue_item);
}
