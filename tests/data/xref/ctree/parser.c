/* The parser module. */
#include "parser.h"

#define LOCAL_SCALE 5
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

static int check(const struct parser_item *item)
{
    return item != NULL && item->count >= 0 && item->value < PARSER_LIMIT;
}

static int default_step(parser_t *self, int value)
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

static void default_reset(parser_t *self)
{
    self->count = 0;
    self->head = NULL;
    self->state = PARSER_IDLE;
    self->flags = 0;
}

void parser_init(parser_t *self)
{
    self->step = default_step;
    self->reset = default_reset;
    self->reset(self);
    self->where.x = 0;
    self->where.y = 3;
}

int parser_add(parser_t *self, const char *name, int value)
{
    int at = self->step(self, value);
    struct parser_item *item;
    if (at < 0) {
        self->state = PARSER_FAILED;
        return at;
    }
    item = &self->items[at - 1];
    text_copy(item->name, name, NAME_LEN);
    if (self->head == NULL)
        self->head = item;
    self->flags |= PARSER_FLAG(at % 16);
    self->state = PARSER_BUSY;
    return at;
}

int parser_sum(const parser_t *self)
{
    int sum = 0;
    const struct parser_item *item;
    for (item = self->head; item != NULL; item = item->next) {
        if (!check(item))
            continue;
        sum += item->value;
    }
    return sum;
}

int parser_count_if(const parser_t *self, parser_filter filter, int value)
{
    int count = 0;
    int i;
    for (i = 0; i < self->count; ++i) {
        const struct parser_item *item = &self->items[i];
        if (filter(item, value))
            count++;
    }
    return count;
}

struct parser_item *parser_first(parser_t *self)
{
    if (!PARSER_VALID(self))
        return NULL;
    return self->head;
}

int parser_run(parser_t *self, int rounds)
{
    int round;
    int value = 0;
    for (round = 0; round < rounds; ++round) {
        int value = SQUARE(round) + helper(round);
        if (parser_add(self, "round", value) < 0)
            break;
    }
    for (round = 0; round < self->count; ++round)
        value = MAX(value, self->items[round].value);
    self->state = PARSER_DONE;
    return value + calls;
}

void parser_visit(parser_t *self, visit_fn visit, void *context)
{
    struct parser_item *item = parser_first(self);
    while (item) {
        struct parser_item *next = item->next;
        visit(item, context);
        item = next;
    }
}

int parser_state_name(enum parser_state state, char *out, int size)
{
    static const char *const names[] = {"idle", "busy", "done", "failed"};
    enum parser_state last = PARSER_FAILED;
    if (state > last || (int)state >= (int)COUNT_OF(names))
        return 0;
    text_copy(out, names[state], MIN(size, NAME_LEN));
    return text_length(out);
}

int parser_pairs(parser_t *self, struct parser_pair *out, int size)
{
    int count = 0;
    struct parser_item *item = self->head;
    while (item != NULL && item->next != NULL && count < size) {
        struct parser_pair *pair = &out[count];
        pair->first = item;
        pair->second = item->next;
        pair->cell.number = PARSER_ITEM_VALUE(item) + PARSER_ITEM_VALUE(item->next);
        pair->count = count;
        item = item->next->next;
        count++;
    }
    return count;
}

int parser_cells(const struct parser_pair *pairs, int count)
{
    int total = 0;
    int i;
    for (i = 0; i < count; ++i) {
        union parser_cell cell = pairs[i].cell;
        total += cell.number + pairs[i].count;
        if (pairs[i].first != NULL)
            total += pairs[i].first->count;
        cell.where.x = total;
        total += cell.where.x % 3;
    }
    return total;
}

void *parser_find_named(parser_t *self, const char *name)
{
    struct parser_item *item;
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

int parser_apply(parser_t *self, int (*fn)(int value, int scale), int scale)
{
    static int (*const table[])(int, int) = {times, plus};
    int calls = 0;
    int i;
    if (fn == NULL)
        fn = table[scale % 2];
    for (i = 0; i < self->count; ++i) {
        struct parser_item *item = &self->items[i];
        item->value = fn(item->value, scale);
        calls++;
    }
    if (PARSER_IS_DONE(self))
        self->where.x += calls;
    return calls + (int)sizeof(struct parser_item);
}
