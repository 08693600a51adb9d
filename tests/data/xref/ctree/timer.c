/* The timer module. */
#include "timer.h"

#define LOCAL_SCALE 6
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

static int check(const struct timer_item *item)
{
    return item != NULL && item->count >= 0 && item->value < TIMER_LIMIT;
}

static int default_step(timer_t *self, int value)
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

static void default_reset(timer_t *self)
{
    self->count = 0;
    self->head = NULL;
    self->state = TIMER_IDLE;
    self->flags = 0;
}

void timer_init(timer_t *self)
{
    self->step = default_step;
    self->reset = default_reset;
    self->reset(self);
    self->where.x = 0;
    self->where.y = 4;
}

int timer_add(timer_t *self, const char *name, int value)
{
    int at = self->step(self, value);
    struct timer_item *item;
    if (at < 0) {
        self->state = TIMER_FAILED;
        return at;
    }
    item = &self->items[at - 1];
    text_copy(item->name, name, NAME_LEN);
    if (self->head == NULL)
        self->head = item;
    self->flags |= TIMER_FLAG(at % 16);
    self->state = TIMER_BUSY;
    return at;
}

int timer_sum(const timer_t *self)
{
    int sum = 0;
    const struct timer_item *item;
    for (item = self->head; item != NULL; item = item->next) {
        if (!check(item))
            continue;
        sum += item->value;
    }
    return sum;
}

int timer_count_if(const timer_t *self, timer_filter filter, int value)
{
    int count = 0;
    int i;
    for (i = 0; i < self->count; ++i) {
        const struct timer_item *item = &self->items[i];
        if (filter(item, value))
            count++;
    }
    return count;
}

struct timer_item *timer_first(timer_t *self)
{
    if (!TIMER_VALID(self))
        return NULL;
    return self->head;
}

int timer_run(timer_t *self, int rounds)
{
    int round;
    int value = 0;
    for (round = 0; round < rounds; ++round) {
        int value = SQUARE(round) + helper(round);
        if (timer_add(self, "round", value) < 0)
            break;
    }
    for (round = 0; round < self->count; ++round)
        value = MAX(value, self->items[round].value);
    self->state = TIMER_DONE;
    return value + calls;
}

void timer_visit(timer_t *self, visit_fn visit, void *context)
{
    struct timer_item *item = timer_first(self);
    while (item) {
        struct timer_item *next = item->next;
        visit(item, context);
        item = next;
    }
}

int timer_state_name(enum timer_state state, char *out, int size)
{
    static const char *const names[] = {"idle", "busy", "done", "failed"};
    enum timer_state last = TIMER_FAILED;
    if (state > last || (int)state >= (int)COUNT_OF(names))
        return 0;
    text_copy(out, names[state], MIN(size, NAME_LEN));
    return text_length(out);
}

int timer_pairs(timer_t *self, struct timer_pair *out, int size)
{
    int count = 0;
    struct timer_item *item = self->head;
    while (item != NULL && item->next != NULL && count < size) {
        struct timer_pair *pair = &out[count];
        pair->first = item;
        pair->second = item->next;
        pair->cell.number = TIMER_ITEM_VALUE(item) + TIMER_ITEM_VALUE(item->next);
        pair->count = count;
        item = item->next->next;
        count++;
    }
    return count;
}

int timer_cells(const struct timer_pair *pairs, int count)
{
    int total = 0;
    int i;
    for (i = 0; i < count; ++i) {
        union timer_cell cell = pairs[i].cell;
        total += cell.number + pairs[i].count;
        if (pairs[i].first != NULL)
            total += pairs[i].first->count;
        cell.where.x = total;
        total += cell.where.x % 3;
    }
    return total;
}

void *timer_find_named(timer_t *self, const char *name)
{
    struct timer_item *item;
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

int timer_apply(timer_t *self, int (*fn)(int value, int scale), int scale)
{
    static int (*const table[])(int, int) = {times, plus};
    int calls = 0;
    int i;
    if (fn == NULL)
        fn = table[scale % 2];
    for (i = 0; i < self->count; ++i) {
        struct timer_item *item = &self->items[i];
        item->value = fn(item->value, scale);
        calls++;
    }
    if (TIMER_IS_DONE(self))
        self->where.x += calls;
    return calls + (int)sizeof(struct timer_item);
}
