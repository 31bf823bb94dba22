#include "OrderListDrag.h"

void OrderListDrag::press(int32_t selection, int32_t count)
{
    entries = count > 0 ? count : 0;
    held = selection >= 0 && selection < entries ? selection : -1;
}

int32_t OrderListDrag::follow(int32_t selection, Swap* out, int32_t room)
{
    if (held < 0 || selection < 0 || selection >= entries || !out)
        return 0;
    // A fast drag may skip entries between two mouse messages; the entry
    // still passes each neighbour in turn, so the order changes the same
    // way as in a slow drag.
    int32_t n = 0;
    while (held != selection && n < room) {
        const int32_t next = selection > held ? held + 1 : held - 1;
        out[n++] = next > held ? Swap{held, next} : Swap{next, held};
        held = next;
    }
    return n;
}
