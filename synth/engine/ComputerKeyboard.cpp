#include "ComputerKeyboard.h"

const ComputerKeyboard::Key ComputerKeyboard::keys[kKeys] = {
    {'Z', 48}, {'X', 50}, {'C', 52}, {'V', 53}, {'B', 55}, {'N', 57}, {'M', 59},
    {'A', 47}, {'S', 49}, {'D', 51}, {'G', 54}, {'H', 56}, {'J', 58}, {'Q', 60},
    {'W', 62}, {'E', 64}, {'R', 65}, {'T', 67}, {'Y', 69}, {'U', 71}, {'I', 72},
    {'1', 59}, {'2', 61}, {'3', 63}, {'5', 66}, {'6', 68}, {'7', 70},
};

void ComputerKeyboard::poll(KeyStateSource isDown, NoteReceiver& receiver)
{
    if (!isDown)
        return;
    for (int k = 0; k < kKeys; ++k) {
        bool down = isDown(keys[k].virtualKey);
        if (down && !keyDown[k]) {
            keyDown[k] = true;
            receiver.noteOn(keys[k].note, kVelocity);
        } else if (!down && keyDown[k]) {
            keyDown[k] = false;
            receiver.noteOff(keys[k].note);
        }
    }
}

void ComputerKeyboard::releaseAll(NoteReceiver& receiver)
{
    for (int k = 0; k < kKeys; ++k) {
        if (keyDown[k]) {
            keyDown[k] = false;
            receiver.noteOff(keys[k].note);
        }
    }
}

void ComputerKeyboard::clear()
{
    for (bool& down : keyDown)
        down = false;
}
