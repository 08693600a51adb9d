/* Uses every module: calls, function pointers, members through . and ->. */
#include <stdio.h>
#include "common.h"
#include "queue.h"
#include "stack.h"
#include "buffer.h"
#include "parser.h"
#include "timer.h"

struct counter {
    int count;
    int calls;
};

static int compare_ints(const void *left, const void *right)
{
    const int *a = left;
    const int *b = right;
    return *a - *b;
}

static void count_visit(void *item, void *context)
{
    int *total = context;
    (void)item;
    (*total)++;
}

static void counter_visit(void *item, void *context)
{
    struct counter *counter = context;
    counter->count += item != NULL;
    counter->calls++;
}

static int queue_filter_big(const struct queue_item *item, int value)
{
    return item->value > value;
}

static int try_queue(void)
{
    queue_t self;
    struct queue_item *first;
    char name[NAME_LEN];
    int total;
    queue_init(&self);
    queue_add(&self, "one", 1);
    queue_add(&self, "two", SQUARE(2));
    total = queue_run(&self, 3) + queue_sum(&self);
    total += queue_count_if(&self, queue_filter_big, 1);
    first = queue_first(&self);
    if (first != NULL && first->next != NULL)
        total += first->next->value + first->count;
    if (self.state == QUEUE_DONE)
        total += queue_state_name(self.state, name, NAME_LEN);
    queue_visit(&self, count_visit, &total);
    {
        struct queue_pair pairs[4];
        int count = queue_pairs(&self, pairs, (int)COUNT_OF(pairs));
        struct queue_item *named = queue_find_named(&self, "two");
        total += queue_cells(pairs, count);
        if (named != NULL)
            total += QUEUE_ITEM_VALUE(named);
        total += queue_apply(&self, NULL, 3);
        if (count > 0 && pairs[0].second != NULL)
            total += pairs[0].second->value;
    }
    return total + self.where.y;
}

static int stack_filter_big(const struct stack_item *item, int value)
{
    return item->value > value;
}

static int try_stack(void)
{
    stack_t self;
    struct stack_item *first;
    char name[NAME_LEN];
    int total;
    stack_init(&self);
    stack_add(&self, "one", 1);
    stack_add(&self, "two", SQUARE(2));
    total = stack_run(&self, 3) + stack_sum(&self);
    total += stack_count_if(&self, stack_filter_big, 1);
    first = stack_first(&self);
    if (first != NULL && first->next != NULL)
        total += first->next->value + first->count;
    if (self.state == STACK_DONE)
        total += stack_state_name(self.state, name, NAME_LEN);
    stack_visit(&self, count_visit, &total);
    {
        struct stack_pair pairs[4];
        int count = stack_pairs(&self, pairs, (int)COUNT_OF(pairs));
        struct stack_item *named = stack_find_named(&self, "two");
        total += stack_cells(pairs, count);
        if (named != NULL)
            total += STACK_ITEM_VALUE(named);
        total += stack_apply(&self, NULL, 3);
        if (count > 0 && pairs[0].second != NULL)
            total += pairs[0].second->value;
    }
    return total + self.where.y;
}

static int buffer_filter_big(const struct buffer_item *item, int value)
{
    return item->value > value;
}

static int try_buffer(void)
{
    buffer_t self;
    struct buffer_item *first;
    char name[NAME_LEN];
    int total;
    buffer_init(&self);
    buffer_add(&self, "one", 1);
    buffer_add(&self, "two", SQUARE(2));
    total = buffer_run(&self, 3) + buffer_sum(&self);
    total += buffer_count_if(&self, buffer_filter_big, 1);
    first = buffer_first(&self);
    if (first != NULL && first->next != NULL)
        total += first->next->value + first->count;
    if (self.state == BUFFER_DONE)
        total += buffer_state_name(self.state, name, NAME_LEN);
    buffer_visit(&self, count_visit, &total);
    {
        struct buffer_pair pairs[4];
        int count = buffer_pairs(&self, pairs, (int)COUNT_OF(pairs));
        struct buffer_item *named = buffer_find_named(&self, "two");
        total += buffer_cells(pairs, count);
        if (named != NULL)
            total += BUFFER_ITEM_VALUE(named);
        total += buffer_apply(&self, NULL, 3);
        if (count > 0 && pairs[0].second != NULL)
            total += pairs[0].second->value;
    }
    return total + self.where.y;
}

static int parser_filter_big(const struct parser_item *item, int value)
{
    return item->value > value;
}

static int try_parser(void)
{
    parser_t self;
    struct parser_item *first;
    char name[NAME_LEN];
    int total;
    parser_init(&self);
    parser_add(&self, "one", 1);
    parser_add(&self, "two", SQUARE(2));
    total = parser_run(&self, 3) + parser_sum(&self);
    total += parser_count_if(&self, parser_filter_big, 1);
    first = parser_first(&self);
    if (first != NULL && first->next != NULL)
        total += first->next->value + first->count;
    if (self.state == PARSER_DONE)
        total += parser_state_name(self.state, name, NAME_LEN);
    parser_visit(&self, count_visit, &total);
    {
        struct parser_pair pairs[4];
        int count = parser_pairs(&self, pairs, (int)COUNT_OF(pairs));
        struct parser_item *named = parser_find_named(&self, "two");
        total += parser_cells(pairs, count);
        if (named != NULL)
            total += PARSER_ITEM_VALUE(named);
        total += parser_apply(&self, NULL, 3);
        if (count > 0 && pairs[0].second != NULL)
            total += pairs[0].second->value;
    }
    return total + self.where.y;
}

static int timer_filter_big(const struct timer_item *item, int value)
{
    return item->value > value;
}

static int try_timer(void)
{
    timer_t self;
    struct timer_item *first;
    char name[NAME_LEN];
    int total;
    timer_init(&self);
    timer_add(&self, "one", 1);
    timer_add(&self, "two", SQUARE(2));
    total = timer_run(&self, 3) + timer_sum(&self);
    total += timer_count_if(&self, timer_filter_big, 1);
    first = timer_first(&self);
    if (first != NULL && first->next != NULL)
        total += first->next->value + first->count;
    if (self.state == TIMER_DONE)
        total += timer_state_name(self.state, name, NAME_LEN);
    timer_visit(&self, count_visit, &total);
    {
        struct timer_pair pairs[4];
        int count = timer_pairs(&self, pairs, (int)COUNT_OF(pairs));
        struct timer_item *named = timer_find_named(&self, "two");
        total += timer_cells(pairs, count);
        if (named != NULL)
            total += TIMER_ITEM_VALUE(named);
        total += timer_apply(&self, NULL, 3);
        if (count > 0 && pairs[0].second != NULL)
            total += pairs[0].second->value;
    }
    return total + self.where.y;
}

static int try_shapes(void)
{
    shape shapes[COLOR_COUNT];
    struct point delta = {1, 2};
    int total = 0;
    uint i;
    for (i = 0; i < COUNT_OF(shapes); ++i) {
        shape *s = &shapes[i];
        shape_init(s, i % 2 ? SHAPE_SQUARE : SHAPE_CIRCLE, (int)i, 0);
        s->color = (enum color)i;
        shape_move(s, delta);
        total += shape_area(s) + shape_perimeter(s) + s->origin.x;
        if (shape_store(s) >= 0)
            total += shape_retry(s, 2);
    }
    return total + shape_total(COLOR_COUNT);
}

static int try_lists(void)
{
    struct list list;
    struct counter counter = {0, 0};
    int values[4] = {4, 3, 2, 1};
    int key = 2;
    int i;
    list_init(&list, compare_ints);
    for (i = 0; i < (int)COUNT_OF(values); ++i)
        list_push(&list, &values[i]);
    list_each(&list, counter_visit, &counter);
    if (list_find(&list, &key) == NULL)
        return -1;
    return list_count(&list) + counter.count + counter.calls + list.count;
}

static int try_table(void)
{
    table t;
    int value = 0;
    table_init(&t);
    table_put(&t, "one", 1);
    table_put(&t, "two", 2);
    if (!table_get(&t, "two", &value))
        return -1;
    return value + t.count;
}

typedef int (*trial_fn)(void);

static const trial_fn trials[] = {
    try_shapes, try_lists, try_table,
    try_queue,
    try_stack,
    try_buffer,
    try_parser,
    try_timer,
};

int main(void)
{
    int total = 0;
    uint i;
    for (i = 0; i < COUNT_OF(trials); ++i) {
        trial_fn trial = trials[i];
        total += trial();
    }
    printf("%d\n", total);
    return 0;
}
