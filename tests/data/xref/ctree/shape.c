/* Shapes: a struct with nested structs, an enum switch, shadowed names. */
#include "common.h"

static int helper(int count)
{
    return count * 2;
}

static int side_of(const shape *s)
{
    return MAX(s->size.width, s->size.height);
}

void shape_init(shape *s, shape_kind kind, int x, int y)
{
    s->kind = kind;
    s->origin.x = x;
    s->origin.y = y;
    s->size.width = 1;
    s->size.height = 1;
    s->color = COLOR_RED;
    s->count = helper(1);
    s->name[0] = '\0';
}

int shape_area(const shape *s)
{
    int side = side_of(s);
    switch (s->kind) {
    case SHAPE_CIRCLE:
        return 3 * SQUARE(side);
    case SHAPE_SQUARE:
        return SQUARE(side);
    case SHAPE_TRIANGLE:
        return s->size.width * s->size.height / 2;
    }
    return 0;
}

int shape_perimeter(const shape *s)
{
    int x = s->size.width;
    {
        int x = s->size.height;
        if (x > 0)
            return 2 * x + 2 * s->size.width;
    }
    return 4 * x;
}

void shape_move(shape *s, struct point delta)
{
    struct point origin = s->origin;
    origin.x += delta.x;
    origin.y += delta.y;
    s->origin = origin;
}

/* A second part: a global shadowed by parameters and locals, a static function of the
   same name as one in table.c, bit-fields, a union, a table of handlers by enumerator. */

#define SHAPE_SLOTS 8
#define SLOT_OF(s) ((s)->count % SHAPE_SLOTS)
#define FOR_EACH_SLOT(i) for ((i) = 0; (i) < SHAPE_SLOTS; ++(i))

static shape slots[SHAPE_SLOTS];
static int count;

struct style {
    unsigned bold : 1;
    unsigned italic : 1;
    unsigned width : 6;
    enum color color;
};

union measure {
    int count;
    struct size size;
    struct point point;
};

typedef int (*area_fn)(const shape *s);

static int circle_area(const shape *s)
{
    return 3 * SQUARE(s->size.width);
}

static int square_area(const shape *s)
{
    return SQUARE(s->size.width);
}

static int triangle_area(const shape *s)
{
    return s->size.width * s->size.height / 2;
}

static const area_fn area_by_kind[] = {
    [SHAPE_CIRCLE] = circle_area,
    [SHAPE_SQUARE] = square_area,
    [SHAPE_TRIANGLE] = triangle_area,
};

static int find(const char *name)
{
    int i;
    FOR_EACH_SLOT(i) {
        if (text_equal(slots[i].name, name))
            return i;
    }
    return -1;
}

int shape_store(const shape *s)
{
    int at = find(s->name);
    if (at < 0) {
        if (count >= SHAPE_SLOTS)
            return -1;
        at = count++;
    }
    slots[at] = *s;
    slots[at].count = at;
    return SLOT_OF(&slots[at]);
}

int shape_total(int count)
{
    int total = 0;
    int i;
    for (i = 0; i < count && i < SHAPE_SLOTS; ++i) {
        const shape *s = &slots[i];
        area_fn area = area_by_kind[s->kind];
        total += area(s);
    }
    return total;
}

int shape_styled(const struct style *style, union measure *measure)
{
    int count = style->width;
    if (style->bold)
        count *= 2;
    if (style->italic)
        count += 1;
    switch (style->color) {
    case COLOR_RED:
        measure->size.width = count;
        measure->size.height = count;
        break;
    case COLOR_GREEN:
        measure->point.x = count;
        measure->point.y = -count;
        break;
    case COLOR_BLUE:
    case COLOR_COUNT:
        measure->count = count;
        break;
    }
    return count;
}

int shape_retry(shape *s, int tries)
{
    int done = 0;
    do {
        struct point step;
        step.x = tries;
        step.y = -tries;
        shape_move(s, step);
        if (s->origin.x > MAX_ITEMS)
            goto out;
        done++;
    } while (--tries > 0);
out:
    return done + count;
}
