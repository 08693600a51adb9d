/* A singly linked list. */
#include <stdlib.h>
#include "common.h"

static struct node pool[MAX_ITEMS];
static int used;

static struct node *allocate(void)
{
    if (used >= MAX_ITEMS)
        return NULL;
    return &pool[used++];
}

static int helper(int count)
{
    int total = 0;
    for (int i = 0; i < count; ++i)
        total += i;
    return total;
}

void list_init(struct list *list, compare_fn compare)
{
    list->head = NULL;
    list->tail = NULL;
    list->count = 0;
    list->compare = compare;
}

void list_push(struct list *list, void *value)
{
    struct node *node = allocate();
    if (node == NULL)
        return;
    node->next = NULL;
    node->value = value;
    node->count = list->count;
    if (list->tail != NULL)
        list->tail->next = node;
    else
        list->head = node;
    list->tail = node;
    list->count++;
}

int list_count(const struct list *list)
{
    int count = 0;
    const struct node *node;
    for (node = list->head; node != NULL; node = node->next)
        count++;
    return MIN(count, list->count) + helper(0);
}

void list_each(struct list *list, visit_fn visit, void *context)
{
    struct node *node = list->head;
    while (node != NULL) {
        struct node *next = node->next;
        visit(node->value, context);
        node = next;
    }
}

void *list_find(struct list *list, const void *key)
{
    struct node *node;
    for (node = list->head; node; node = node->next) {
        if (list->compare(node->value, key) == 0)
            return node->value;
    }
    return NULL;
}
