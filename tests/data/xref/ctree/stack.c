/* The stack module. */
#include "stack.h"

#define LOCAL_SCALE 3
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

static int check(const struct stack_item *item)
{
    return item != NULL && item->count >= 0 && item->value < STACK_LIMIT;
}

static int default_step(stack_t *self, int value)
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

static void default_reset(stack_t *self)
{
    self->count = 0;
    self->head = NULL;
    self->state = STACK_IDLE;
    self->flags = 0;
}

void stack_init(stack_t *self)
{
    self->step = default_step;
    self->reset = default_reset;
    self->reset(self);
    self->where.x = 0;
    self->where.y = 1;
}

int stack_add(stack_t *self, const char *name, int value)
{
    int at = self->step(self, value);
    struct stack_item *item;
    if (at < 0) {
        self->state = STACK_FAILED;
        return at;
    }
    item = &self->items[at - 1];
    text_copy(item->name, name, NAME_LEN);
    if (self->head == NULL)
        self->head = item;
    self->flags |= STACK_FLAG(at % 16);
    self->state = STACK_BUSY;
    return at;
}

int stack_sum(const stack_t *self)
{
    int sum = 0;
    const struct stack_item *item;
    for (item = self->head; item != NULL; item = item->next) {
        if (!check(item))
            continue;
        sum += item->value;
    }
    return sum;
}

int stack_count_if(const stack_t *self, stack_filter filter, int value)
{
    int count = 0;
    int i;
    for (i = 0; i < self->count; ++i) {
        const struct stack_item *item = &self->items[i];
        if (filter(item, value))
            count++;
    }
    return count;
}

struct stack_item *stack_first(stack_t *self)
{
    if (!STACK_VALID(self))
        return NULL;
    return self->head;
}

int stack_run(stack_t *self, int rounds)
{
    int round;
    int value = 0;
    for (round = 0; round < rounds; ++round) {
        int value = SQUARE(round) + helper(round);
        if (stack_add(self, "round", value) < 0)
            break;
    }
    for (round = 0; round < self->count; ++round)
        value = MAX(value, self->items[round].value);
    self->state = STACK_DONE;
    return value + calls;
}

void stack_visit(stack_t *self, visit_fn visit, void *context)
{
    struct stack_item *item = stack_first(self);
    while (item) {
        struct stack_item *next = item->next;
        visit(item, context);
        item = next;
    }
}

int stack_state_name(enum stack_state state, char *out, int size)
{
    static const char *const names[] = {"idle", "busy", "done", "failed"};
    enum stack_state last = STACK_FAILED;
    if (state > last || (int)state >= (int)COUNT_OF(names))
        return 0;
    text_copy(out, names[state], MIN(size, NAME_LEN));
    return text_length(out);
}

int stack_pairs(stack_t *self, struct stack_pair *out, int size)
{
    int count = 0;
    struct stack_item *item = self->head;
    while (item != NULL && item->next != NULL && count < size) {
        struct stack_pair *pair = &out[count];
        pair->first = item;
        pair->second = item->next;
        pair->cell.number = STACK_ITEM_VALUE(item) + STACK_ITEM_VALUE(item->next);
        pair->count = count;
        item = item->next->next;
        count++;
    }
    return count;
}

int stack_cells(const struct stack_pair *pairs, int count)
{
    int total = 0;
    int i;
    for (i = 0; i < count; ++i) {
        union stack_cell cell = pairs[i].cell;
        total += cell.number + pairs[i].count;
        if (pairs[i].first != NULL)
            total += pairs[i].first->count;
        cell.where.x = total;
        total += cell.where.x % 3;
    }
    return total;
}

void *stack_find_named(stack_t *self, const char *name)
{
    struct stack_item *item;
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

int stack_apply(stack_t *self, int (*fn)(int value, int scale), int scale)
{
    static int (*const table[])(int, int) = {times, plus};
    int calls = 0;
    int i;
    if (fn == NULL)
        fn = table[scale % 2];
    for (i = 0; i < self->count; ++i) {
        struct stack_item *item = &self->items[i];
        item->value = fn(item->value, scale);
        calls++;
    }
    if (STACK_IS_DONE(self))
        self->where.x += calls;
    return calls + (int)sizeof(struct stack_item);
}
