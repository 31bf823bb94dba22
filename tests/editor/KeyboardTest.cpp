// The on-screen keyboard's window-free parts: which note a point plays,
// which columns a note repaints and with which picture, and the held-note
// display's pending list with its limit.
#include "EditorResources.h"
#include "KeyboardDisplay.h"
#include "KeyboardGeometry.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

namespace {
const Rect kClient = {0, 0, KeyboardGeometry::kWidth, KeyboardGeometry::kHeight};

int32_t hit(int32_t x, int32_t y)
{
    return KeyboardGeometry::hitTest({x, y}, kClient);
}

bool isBlack(int32_t note)
{
    const int32_t s = note % 12;
    return s == 1 || s == 3 || s == 6 || s == 8 || s == 10;
}

TEST(KeyboardHitTest, BlackKeysSpanTheEdgesOfTwoColumnsInTheUpperPart)
{
    EXPECT_EQ(hit(13, 10), 37);
    EXPECT_EQ(hit(13, 40), 36);
    EXPECT_EQ(hit(18, 10), 37);
    EXPECT_EQ(hit(21, 10), 38);
    // The edges of the black key C#: columns' pixels 12..15 and 0..4.
    EXPECT_EQ(hit(11, 10), 36);
    EXPECT_EQ(hit(12, 10), 37);
    EXPECT_EQ(hit(20, 10), 37);
    EXPECT_EQ(hit(12, 27), 37);
    EXPECT_EQ(hit(12, 28), 36);
    EXPECT_EQ(hit(20, 28), 38);
}

TEST(KeyboardHitTest, NoBlackKeyBetweenEAndFNorBetweenBAndC)
{
    // E (column 2) and F (column 3) of every octave, B and the next C.
    for (int32_t octave = 0; octave < 5; ++octave) {
        const int32_t base = octave * KeyboardGeometry::kOctaveWidth;
        for (int32_t x = base + 32; x < base + 64; ++x)
            for (int32_t y = 0; y < 28; y += 3) {
                const int32_t note = hit(x, y);
                if (x >= base + 44 && x < base + 53) {
                    EXPECT_FALSE(isBlack(note)) << x << "," << y;
                    EXPECT_EQ(note, (octave + 3) * 12 + (x < base + 48 ? 4 : 5));
                }
            }
        for (int32_t y = 0; y < 28; y += 3) {
            EXPECT_EQ(hit(base + 111, y), (octave + 3) * 12 + 11);
            if (octave < 4) {
                EXPECT_EQ(hit(base + 112, y), (octave + 4) * 12);
            }
        }
    }
}

TEST(KeyboardHitTest, EveryPointInsidePlaysANoteOfTheFiveOctavesAndOutsideNone)
{
    std::set<int32_t> notes;
    for (int32_t x = 0; x < KeyboardGeometry::kWidth; ++x)
        for (int32_t y = 0; y < KeyboardGeometry::kHeight; ++y) {
            const int32_t note = hit(x, y);
            ASSERT_GE(note, 36);
            ASSERT_LE(note, 95);
            notes.insert(note);
        }
    EXPECT_EQ(notes.size(), 60u);
    EXPECT_EQ(hit(-1, 10), -1);
    EXPECT_EQ(hit(10, -1), -1);
    EXPECT_EQ(hit(560, 10), -1);
    EXPECT_EQ(hit(10, 60), -1);
    // A control wider than the keyboard still plays only its five octaves.
    EXPECT_EQ(KeyboardGeometry::hitTest({600, 40}, {0, 0, 700, 60}), -1);
    // The lowest and highest keys.
    EXPECT_EQ(hit(0, 0), 36);
    EXPECT_EQ(hit(559, 0), 95);
}

TEST(KeyboardColumns, EachNoteRepaintsTheColumnsThatShowIt)
{
    int32_t columns[2] = {-1, -1};
    ASSERT_EQ(KeyboardGeometry::columnsOfNote(36, columns), 1);
    EXPECT_EQ(columns[0], 0);
    ASSERT_EQ(KeyboardGeometry::columnsOfNote(37, columns), 2);
    EXPECT_EQ(columns[0], 0);
    EXPECT_EQ(columns[1], 1);
    ASSERT_EQ(KeyboardGeometry::columnsOfNote(66, columns), 2); // F#2
    EXPECT_EQ(columns[0], 17);
    EXPECT_EQ(columns[1], 18);
    ASSERT_EQ(KeyboardGeometry::columnsOfNote(95, columns), 1);
    EXPECT_EQ(columns[0], 34);
    EXPECT_EQ(KeyboardGeometry::columnsOfNote(35, columns), 0);
    EXPECT_EQ(KeyboardGeometry::columnsOfNote(96, columns), 0);
    EXPECT_EQ(KeyboardGeometry::columnsOfNote(-1, columns), 0);

    // Every column's white key and the hit test agree, and every note's
    // columns contain the points that play it.
    for (int32_t column = 0; column < KeyboardGeometry::kColumns; ++column) {
        const Rect r = KeyboardGeometry::columnRect(column, 60);
        EXPECT_EQ(hit(r.left + 7, 50), KeyboardGeometry::whiteNote(column));
    }
    for (int32_t x = 0; x < KeyboardGeometry::kWidth; ++x)
        for (int32_t y = 0; y < 60; y += 7) {
            const int32_t n = KeyboardGeometry::columnsOfNote(hit(x, y), columns);
            const int32_t column = x / 16;
            EXPECT_TRUE(columns[0] == column || (n == 2 && columns[1] == column)) << x << "," << y;
        }
}

TEST(KeyboardColumns, PictureFollowsTheHeldKeysOfEachShape)
{
    // C (column 0): right black + 2 x white.
    EXPECT_EQ(KeyboardGeometry::columnBitmap(0, false, false, false), 111);
    EXPECT_EQ(KeyboardGeometry::columnBitmap(0, false, false, true), 112);
    EXPECT_EQ(KeyboardGeometry::columnBitmap(0, false, true, false), 113);
    EXPECT_EQ(KeyboardGeometry::columnBitmap(7 + 3, true, true, true), 114); // F, left ignored
    // E (column 2): white + 2 x left black.
    EXPECT_EQ(KeyboardGeometry::columnBitmap(2, false, false, false), 123);
    EXPECT_EQ(KeyboardGeometry::columnBitmap(2, false, true, false), 108);
    EXPECT_EQ(KeyboardGeometry::columnBitmap(6, true, false, true), 126); // B, right ignored
    EXPECT_EQ(KeyboardGeometry::columnBitmap(2, true, true, false), 110);
    // D, G, A: right + 2 x white + 4 x left.
    const int32_t expected[8] = {115, 116, 117, 118, 119, 120, 121, 124};
    for (int32_t column : {1, 4, 5, 29})
        for (int32_t i = 0; i < 8; ++i)
            EXPECT_EQ(KeyboardGeometry::columnBitmap(column, i & 4, i & 2, i & 1), expected[i]);
    // The picture list holds each id once.
    std::set<int32_t> ids(KeyboardGeometry::bitmapIds,
                          KeyboardGeometry::bitmapIds + KeyboardGeometry::kColumnBitmaps);
    EXPECT_EQ(ids.size(), 16u);
}

TEST(KeyboardDisplay, ReportsQueueRepaintsOnlyWhileTheWindowIsOpen)
{
    KeyboardDisplay d;
    bool full = true;
    d.showNote(60, true);
    EXPECT_TRUE(d.isHeld(60));
    EXPECT_EQ(d.pendingCount(), 0);
    EXPECT_FALSE(d.takeRepaintRequest(full));

    d.setWindowOpen(true);
    d.showNote(64, true);
    d.showNote(60, false);
    d.showNote(200, true); // ignored
    d.showNote(-3, true);
    EXPECT_FALSE(d.isHeld(60));
    EXPECT_TRUE(d.isHeld(64));
    EXPECT_EQ(d.pendingCount(), 2);
    ASSERT_TRUE(d.takeRepaintRequest(full));
    EXPECT_FALSE(full);
    EXPECT_FALSE(d.takeRepaintRequest(full)); // once
    int32_t notes[128];
    ASSERT_EQ(d.takePending(notes), 2);
    EXPECT_EQ(notes[0], 60);
    EXPECT_EQ(notes[1], 64);
    EXPECT_EQ(d.pendingCount(), 0);
    EXPECT_EQ(d.takePending(notes), 0);
}

TEST(KeyboardDisplay, BeyondOneHundredAndTwentyPendingOnlyHeldChangesUntilAFullRepaint)
{
    KeyboardDisplay d;
    d.setWindowOpen(true);
    for (int32_t i = 0; i < 120; ++i)
        d.showNote(i, true);
    EXPECT_EQ(d.pendingCount(), 120);
    bool full = true;
    d.showNote(121, true);
    d.showNote(5, false);
    EXPECT_TRUE(d.isHeld(121));
    EXPECT_FALSE(d.isHeld(5));
    EXPECT_EQ(d.pendingCount(), 120);
    int32_t notes[128];
    // The queued list holds the first 120 reports only...
    ASSERT_TRUE(d.takeRepaintRequest(full));
    // ...and the keyboard is drawn whole, so note 121 shows anyway.
    EXPECT_TRUE(full);
    EXPECT_EQ(d.takePending(notes), 120);
    EXPECT_EQ(notes[119], 119);
    // Below the limit again, reports queue as before.
    d.showNote(121, false);
    EXPECT_EQ(d.pendingCount(), 1);
    ASSERT_TRUE(d.takeRepaintRequest(full));
    EXPECT_FALSE(full);
}

TEST(KeyboardDisplay, ClearReleasesEveryNoteAndAsksForAFullRepaint)
{
    KeyboardDisplay d;
    d.setWindowOpen(true);
    d.showNote(40, true);
    d.showNote(127, true);
    d.clear();
    EXPECT_FALSE(d.isHeld(40));
    EXPECT_FALSE(d.isHeld(127));
    EXPECT_EQ(d.pendingCount(), 0);
    bool full = false;
    ASSERT_TRUE(d.takeRepaintRequest(full));
    EXPECT_TRUE(full);
    int32_t notes[128];
    EXPECT_EQ(d.takePending(notes), 0);

    // Held notes survive closing and reopening the window: the new window's
    // first paint draws them; nothing stale is queued from before.
    d.showNote(50, true);
    d.setWindowOpen(false);
    d.showNote(52, true);
    d.setWindowOpen(true);
    EXPECT_TRUE(d.isHeld(50));
    EXPECT_TRUE(d.isHeld(52));
    EXPECT_EQ(d.pendingCount(), 0);
    EXPECT_FALSE(d.takeRepaintRequest(full));
}

// One thread reports notes while another paints: every key's last state is
// either painted or still queued with a request raised.
TEST(KeyboardDisplay, NoReportIsLostBetweenTheAudioAndThePaintingThread)
{
    KeyboardDisplay d;
    d.setWindowOpen(true);
    bool painted[128] = {};
    std::atomic<bool> done{false};
    std::thread audio([&] {
        for (int32_t round = 0; round < 2000; ++round)
            for (int32_t note = 36; note < 96; note += 5)
                d.showNote(note, (round + note) % 2 == 0);
        done.store(true);
    });
    int32_t notes[128];
    bool full = false, anyFull = false;
    while (!done.load()) {
        if (d.takeRepaintRequest(full)) {
            anyFull = anyFull || full;
            const int32_t n = d.takePending(notes);
            for (int32_t i = 0; i < n; ++i)
                painted[notes[i]] = true;
        }
    }
    audio.join();
    // What remains after the last report.
    if (d.takeRepaintRequest(full)) {
        anyFull = anyFull || full;
        const int32_t n = d.takePending(notes);
        for (int32_t i = 0; i < n; ++i)
            painted[notes[i]] = true;
    }
    for (int32_t note = 36; note < 96; note += 5)
        EXPECT_TRUE(painted[note] || anyFull) << note;
    EXPECT_EQ(d.pendingCount(), 0);
}
} // namespace
