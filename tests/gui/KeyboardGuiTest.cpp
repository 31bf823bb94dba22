// The on-screen keyboard and the computer keyboard in the real instrument,
// under a host that renders audio beside the editor: real mouse input on
// the keys (the capture matters), real key presses through the system's
// input queue (the audio code reads the asynchronous key state), the notes
// they start measured in the rendered audio and in the voices, and the
// held-note display in the window's pixels.
#include "CKeyboard.h"
#include "EditorHost.h"
#include "KeyboardGeometry.h"
#include "Patch.h"
#include "PluginFiles.h"
#include "SynthEngine.h"
#include "SynthInterface.h"
#include "Voice.h"
#include "VstXSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
const char* const kPlugin = PLUGIN_FILE("nimbulator");
const int kKeyboard = 1020;
const float kVelocity96 = 96 * 0.0063f;

// What the engine holds and what it rendered lately, read with the audio
// thread stopped.
struct Heard {
    int32_t active = 0;
    int32_t note = -1; // the most recent active voice's
    float velocityGain = 0.0f;
    float peak = 0.0f; // of the last 2048 frames, left channel
};

class KeyboardGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCursorPos(4000, 4000);
        std::string error;
        host = EditorHost::load(kPlugin, error);
        ASSERT_TRUE(host) << error;
        synth = static_cast<VstXSynth*>(static_cast<AudioEffect*>(host->plugin().effect()->object));
        ASSERT_TRUE(host->open(error)) << error;
        keyboard = keyboardOf(host->control(kKeyboard));
        ASSERT_TRUE(keyboard);
        host->setRealInput(true);
        host->pump(100);
    }
    void TearDown() override
    {
        if (host) {
            for (int key : pressedKeys)
                host->keyUp(key);
            EXPECT_TRUE(host->faults().empty()) << host->faults()[0];
        }
        host.reset();
    }

    static CKeyboard* keyboardOf(HWND window)
    {
        return window ? static_cast<CKeyboard*>(
                            reinterpret_cast<CControl*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
                      : nullptr;
    }
    // The host closes the editor but keeps its window (and so the focus).
    void closeEditor()
    {
        host->plugin().dispatch(effEditClose);
        host->pump(50);
    }
    void reopenEditor()
    {
        host->plugin().dispatch(effEditOpen, 0, 0, host->window());
        host->pump(100);
    }
    Patch& patch() { return *static_cast<SynthInterface*>(synth)->getCurrentProgram(); }

    Heard listen(int milliseconds = 150)
    {
        host->pump(milliseconds);
        host->audio().stop();
        Heard h;
        const SynthEngine& engine = synth->soundEngine();
        h.active = engine.activeCount;
        if (engine.activeVoices) {
            h.note = engine.activeVoices->note;
            h.velocityGain = engine.activeVoices->velocityGain;
        }
        for (float s : host->audio().recentLeft(2048))
            h.peak = std::max(h.peak, std::fabs(s));
        host->audio().start();
        return h;
    }
    void pressKey(int key)
    {
        pressedKeys.push_back(key);
        host->keyDown(key);
    }
    void releaseKey(int key)
    {
        host->keyUp(key);
        pressedKeys.erase(std::remove(pressedKeys.begin(), pressedKeys.end(), key),
                          pressedKeys.end());
    }
    // Client point of the middle of a white key's column, low on the key.
    static Point whiteKeyPoint(int32_t column) { return {column * 16 + 8, 50}; }
    // The colour at a point of the keyboard as the window shows it.
    uint32_t pixel(int x, int y)
    {
        const RECT r = host->controlRect(kKeyboard);
        return host->capture().at(r.left + x, r.top + y);
    }
    static bool blueish(uint32_t p)
    {
        const int r = (p >> 16) & 0xFF, b = p & 0xFF;
        return b > r + 40;
    }

    std::unique_ptr<EditorHost> host;
    VstXSynth* synth = nullptr;
    CKeyboard* keyboard = nullptr;
    std::vector<int> pressedKeys;
};

TEST_F(KeyboardGui, AMouseNoteSoundsAtVelocity96AndShowsUntilTheButtonIsReleased)
{
    const Heard before = listen(50);
    EXPECT_EQ(before.active, 0);
    EXPECT_EQ(before.peak, 0.0f);
    const uint32_t restingBlack = pixel(13, 10);

    host->mouseDown(kKeyboard, 13, 10); // the black key C#
    EXPECT_EQ(synth->screenNoteRequest(), 37);
    EXPECT_TRUE(keyboard->isMousePlaying());
    const Heard held = listen();
    EXPECT_EQ(held.active, 1);
    EXPECT_EQ(held.note, 37);
    EXPECT_FLOAT_EQ(held.velocityGain, kVelocity96);
    EXPECT_GT(held.peak, 0.01f);
    // The key lights up, on both columns that show it.
    EXPECT_TRUE(keyboard->isHeld(37));
    EXPECT_NE(pixel(13, 10), restingBlack);
    EXPECT_TRUE(blueish(pixel(13, 10)));
    EXPECT_TRUE(blueish(pixel(18, 10)));
    EXPECT_FALSE(blueish(pixel(8, 50))); // C itself stays white

    host->mouseUp(kKeyboard, 13, 10);
    EXPECT_EQ(synth->screenNoteRequest(), -1);
    EXPECT_FALSE(keyboard->isMousePlaying());
    EXPECT_EQ(listen().active, 0);
    EXPECT_FALSE(keyboard->isHeld(37));
    EXPECT_FALSE(blueish(pixel(13, 10)));
}

TEST_F(KeyboardGui, DraggingAcrossTheKeysPlaysEachInTurn)
{
    // Along the white keys of the second octave, low on the keys: C D E F G.
    const int32_t expected[] = {48, 50, 52, 53, 55};
    host->mouseDown(kKeyboard, whiteKeyPoint(7).x, 50);
    for (int i = 0; i < 5; ++i) {
        host->mouseMove(kKeyboard, whiteKeyPoint(7 + i).x, 50);
        EXPECT_EQ(synth->screenNoteRequest(), expected[i]);
        const Heard h = listen(60);
        EXPECT_EQ(h.note, expected[i]);
        EXPECT_EQ(h.active, 1) << "the previous key ends as the next starts";
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(keyboard->isHeld(expected[k]), k == i) << expected[k];
    }
    host->mouseUp(kKeyboard, whiteKeyPoint(11).x, 50);
    EXPECT_EQ(listen(60).active, 0);
}

TEST_F(KeyboardGui, LeavingTheKeyboardKeepsTheNoteAndReleasingOutsideEndsIt)
{
    host->mouseDown(kKeyboard, 21, 10);  // D
    host->mouseMove(kKeyboard, 21, -40); // above the keyboard, over the panel
    host->mouseMove(kKeyboard, -30, 20);
    EXPECT_EQ(synth->screenNoteRequest(), 38);
    EXPECT_EQ(listen().note, 38);
    host->mouseUp(kKeyboard, -30, 20);
    EXPECT_EQ(synth->screenNoteRequest(), -1);
    EXPECT_EQ(listen().active, 0);
    // A press that misses the keys plays nothing and takes no capture.
    host->mouseDown(kKeyboard, 600, 30);
    EXPECT_FALSE(keyboard->isMousePlaying());
    host->mouseUp(kKeyboard, 600, 30);
}

TEST_F(KeyboardGui, LosingTheMouseWhileAKeyIsHeldEndsItsNote)
{
    // Another window takes the mouse (a message box, the host): the button's
    // release then goes there, so the note must end now.
    host->mouseDown(kKeyboard, 21, 10);
    EXPECT_EQ(listen().note, 38);
    SetCapture(host->window());
    host->pump(20);
    EXPECT_FALSE(keyboard->isMousePlaying());
    EXPECT_EQ(synth->screenNoteRequest(), -1);
    EXPECT_EQ(listen().active, 0);
    ReleaseCapture();
    // Playing on works as before.
    host->mouseDown(kKeyboard, 21, 10);
    EXPECT_EQ(listen().note, 38);
    host->mouseUp(kKeyboard, 21, 10);
    EXPECT_EQ(listen().active, 0);
}

TEST_F(KeyboardGui, ComputerKeysPlayTheirNotesAtVelocity96WhileTheOptionIsSet)
{
    ASSERT_NE(patch().qwertyControl, 0);
    pressKey('Q');
    Heard h = listen();
    EXPECT_EQ(h.active, 1);
    EXPECT_EQ(h.note, 60);
    EXPECT_FLOAT_EQ(h.velocityGain, kVelocity96);
    EXPECT_GT(h.peak, 0.01f);
    EXPECT_TRUE(keyboard->isHeld(60));
    pressKey('2'); // C#4 as well
    h = listen();
    EXPECT_EQ(h.active, 2);
    EXPECT_EQ(h.note, 61);
    EXPECT_TRUE(blueish(pixel(whiteKeyPoint(14).x + 5, 10))); // its black key
    releaseKey('Q');
    releaseKey('2');
    h = listen();
    EXPECT_EQ(h.active, 0);
    EXPECT_FALSE(keyboard->isHeld(60));
    EXPECT_FALSE(keyboard->isHeld(61));
}

TEST_F(KeyboardGui, ComputerKeysPlayNothingWithTheOptionOffOrTheEditorClosed)
{
    patch().qwertyControl = 0;
    pressKey('Z');
    Heard h = listen();
    EXPECT_EQ(h.active, 0);
    EXPECT_EQ(h.peak, 0.0f);
    releaseKey('Z');

    patch().qwertyControl = 1;
    closeEditor();
    pressKey('Z');
    EXPECT_TRUE(GetAsyncKeyState('Z') & 0x8000) << "the key is down for the whole process";
    h = listen();
    EXPECT_EQ(h.active, 0);
    EXPECT_EQ(h.peak, 0.0f);
    releaseKey('Z');

    // Open again: the keys play.
    reopenEditor();
    pressKey('Z');
    EXPECT_EQ(listen().note, 48);
    releaseKey('Z');
}

TEST_F(KeyboardGui, SwitchingTheOptionOffOrClosingWhileAKeyIsHeldSendsItsNoteOff)
{
    pressKey('E');
    ASSERT_EQ(listen().note, 64);
    // What the synthesis options dialog does when its box is cleared.
    patch().qwertyControl = 0;
    static_cast<SynthInterface*>(synth)->releaseComputerKeys();
    Heard h = listen();
    EXPECT_EQ(h.active, 0);
    EXPECT_FALSE(keyboard->isHeld(64));
    releaseKey('E');

    patch().qwertyControl = 1;
    pressKey('R');
    ASSERT_EQ(listen().note, 65);
    closeEditor(); // the key is still down
    EXPECT_TRUE(GetAsyncKeyState('R') & 0x8000);
    h = listen();
    EXPECT_EQ(h.active, 0);
    releaseKey('R');
}

TEST_F(KeyboardGui, MidiNotesShowOnTheKeysAndABurstBeyondTheListIsDrawnWhole)
{
    host->audio().noteOn(40, 100); // E2: column 2
    host->pump(150);
    EXPECT_TRUE(keyboard->isHeld(40));
    EXPECT_TRUE(blueish(pixel(whiteKeyPoint(2).x, 50)));
    host->audio().noteOff(40);
    host->pump(150);
    EXPECT_FALSE(blueish(pixel(whiteKeyPoint(2).x, 50)));

    // 120 reports before the next paint fill the list; the one after only
    // changes its held byte, and still shows once the window paints.
    for (int i = 0; i < 60; ++i) {
        keyboard->showNoteOn(70);
        keyboard->showNoteOff(70);
    }
    EXPECT_EQ(keyboard->pendingCount(), 120);
    keyboard->showNoteOn(84); // C6: column 28
    EXPECT_TRUE(keyboard->isHeld(84));
    EXPECT_EQ(keyboard->pendingCount(), 120);
    host->pump(150);
    EXPECT_EQ(keyboard->pendingCount(), 0);
    EXPECT_TRUE(blueish(pixel(whiteKeyPoint(28).x, 50)));
    keyboard->showNoteOff(84);
    host->pump(150);
    EXPECT_FALSE(blueish(pixel(whiteKeyPoint(28).x, 50)));

    // With the display option off the synth's notes are not shown.
    patch().animateKeyboard = 0;
    host->audio().noteOn(43, 100);
    host->pump(150);
    EXPECT_FALSE(keyboard->isHeld(43));
    host->audio().noteOff(43);
}

TEST_F(KeyboardGui, EveryColumnShowsItsRestingPictureAtItsPlace)
{
    // White keys light in their lower part, black keys dark in the upper.
    for (int32_t column = 0; column < KeyboardGeometry::kColumns; ++column) {
        const uint32_t p = pixel(column * 16 + 7, 45);
        EXPECT_GT(p & 0xFF, 0xB0u) << column;
        const int32_t white = KeyboardGeometry::whiteNote(column);
        if (white % 12 != 4 && white % 12 != 11 && column < 34) {
            const uint32_t black = pixel(column * 16 + 15, 12);
            EXPECT_LT(black & 0xFF, 0x60u) << column;
        }
    }
}
} // namespace
