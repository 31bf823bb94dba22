#include "CKeyboard.h"

namespace {
// Semitone of each white key in an octave, and whether a black key follows.
const int kWhiteSemitone[7] = {0, 2, 4, 5, 7, 9, 11};
const bool kBlackAfter[7] = {true, true, false, true, true, true, false};
} // namespace

CKeyboard::CKeyboard(SynthInterface* synth) : CControl(synth)
{
    for (auto& h : held)
        h.store(0, std::memory_order_relaxed);
    whiteKey = CreateSolidBrush(RGB(232, 234, 236));
    blackKey = CreateSolidBrush(RGB(24, 26, 30));
    heldKey = CreateSolidBrush(RGB(92, 150, 186));
    frame = CreateSolidBrush(RGB(14, 16, 19));
}

CKeyboard::~CKeyboard()
{
    DeleteObject(whiteKey);
    DeleteObject(blackKey);
    DeleteObject(heldKey);
    DeleteObject(frame);
}

void CKeyboard::show(int32_t note, uint8_t on)
{
    if (note < 0 || note > 127)
        return;
    held[note].store(on, std::memory_order_relaxed);
    changed.store(true, std::memory_order_relaxed);
}

void CKeyboard::clear()
{
    for (auto& h : held)
        h.store(0, std::memory_order_relaxed);
    changed.store(true, std::memory_order_relaxed);
}

void CKeyboard::paint(HDC dc, const PAINTSTRUCT&)
{
    RECT all = {0, 0, client.right, client.bottom};
    FillRect(dc, &all, frame);
    const int blackHeight = client.bottom * 28 / 60;
    for (int column = 0; column < 35; ++column) {
        const int note = kLowestNote + 12 * (column / 7) + kWhiteSemitone[column % 7];
        RECT key = {column * kColumnWidth, 0, (column + 1) * kColumnWidth - 1, client.bottom - 1};
        FillRect(dc, &key, held[note].load(std::memory_order_relaxed) ? heldKey : whiteKey);
    }
    for (int column = 0; column < 35; ++column) {
        if (!kBlackAfter[column % 7] || column == 34)
            continue;
        const int note = kLowestNote + 12 * (column / 7) + kWhiteSemitone[column % 7] + 1;
        const int x = (column + 1) * kColumnWidth;
        RECT key = {x - 4, 0, x + 5, blackHeight};
        FillRect(dc, &key, held[note].load(std::memory_order_relaxed) ? heldKey : blackKey);
    }
}
