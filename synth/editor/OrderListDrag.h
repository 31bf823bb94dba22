// Dragging an entry of the visualisation dialog's dimension-order list: a
// press remembers the entry under the selection, and while the button is
// held every move of the selection carries that entry along, one place per
// neighbour passed; each step is a swap of two neighbouring entries, which
// the dialog applies to the list and to the program's axis order. A
// release forgets the entry. Plain state, no window: the list box's
// subclass feeds it the selection.
#pragma once

#include <cstdint>

class OrderListDrag {
public:
    struct Swap {
        int32_t lower;  // list index of the upper entry
        int32_t higher; // lower + 1
    };

    // Left press with `selection` current in a list of `count` entries;
    // an invalid selection remembers nothing.
    void press(int32_t selection, int32_t count);
    void release() { held = -1; }
    // The selection is now `selection`: writes the swaps that carry the
    // remembered entry there (at most `room`, in order) and returns their
    // number; 0 when nothing is held or the selection did not move.
    int32_t follow(int32_t selection, Swap* out, int32_t room);
    int32_t remembered() const { return held; }

private:
    int32_t held = -1;
    int32_t entries = 0;
};
