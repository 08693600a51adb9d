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
