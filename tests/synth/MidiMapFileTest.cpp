// Controller map files and preset files on disk: their exact bytes, what a
// load takes from short, long, foreign and out-of-range files, and which
// failure each bad path or file reports.
#include "MidiMapFile.h"
#include "FactoryBank.h"
#include "Patch.h"
#include "PresetFile.h"
#include "SynthTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
std::string tempPath(const char* name)
{
    return testing::TempDir() + name;
}

std::vector<unsigned char> readAll(const std::string& path)
{
    std::vector<unsigned char> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF)
            bytes.push_back(static_cast<unsigned char>(c));
        std::fclose(f);
    }
    return bytes;
}

void writeAll(const std::string& path, const std::vector<unsigned char>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    if (!bytes.empty()) {
        ASSERT_EQ(std::fwrite(bytes.data(), bytes.size(), 1, f), 1u);
    }
    std::fclose(f);
}

std::vector<unsigned char> header()
{
    const char* text = "Nimbulator MIDI controller map";
    return std::vector<unsigned char>(text, text + 30);
}

void appendEntry(std::vector<unsigned char>& bytes, int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<unsigned char>(v >> shift));
}

Patch freshPatch()
{
    Patch p;
    std::memset(&p, 0, sizeof p);
    newPatch(p);
    return p;
}

const char* nowhere = "no such folder/nor this one/file";
} // namespace

TEST(MidiMapFile, SavedFileIsTheHeaderAndEntriesZeroTo119)
{
    Patch p = freshPatch();
    for (int c = 0; c < kMidiMapSize; ++c)
        p.midiMap[c] = c % 3 == 0 ? -1 : c % 101;
    const std::string path = tempPath("saved.nbm");
    ASSERT_EQ(MidiMapFile::save(p, path.c_str()), MidiMapFile::Result::Ok);

    std::vector<unsigned char> expected = header();
    for (int c = 0; c < 120; ++c)
        appendEntry(expected, p.midiMap[c]);
    const std::vector<unsigned char> bytes = readAll(path);
    EXPECT_EQ(bytes.size(), 510u);
    EXPECT_EQ(bytes, expected); // no terminator, little-endian, 120..127 left out
    std::remove(path.c_str());
}

TEST(MidiMapFile, LoadRoundTripsAndNeverTouchesEntries120To127OrThePitchBendRange)
{
    Patch source = freshPatch();
    source.midiMap[0] = 100;
    source.midiMap[7] = -1;
    source.midiMap[119] = 42;
    const std::string path = tempPath("roundtrip.nbm");
    ASSERT_EQ(MidiMapFile::save(source, path.c_str()), MidiMapFile::Result::Ok);

    Patch target = freshPatch();
    for (int c = 0; c < kMidiMapSize; ++c)
        target.midiMap[c] = 55;
    target.pitchBendRange = 17;
    // Bytes past 510 (here: what would be entries 120 and up) are ignored.
    std::vector<unsigned char> bytes = readAll(path);
    for (int c = 120; c < 128; ++c)
        appendEntry(bytes, 3);
    writeAll(path, bytes);
    ASSERT_EQ(MidiMapFile::load(target, path.c_str()), MidiMapFile::Result::Ok);
    EXPECT_EQ(std::memcmp(target.midiMap, source.midiMap, 120 * sizeof(int32_t)), 0);
    for (int c = 120; c < 128; ++c)
        EXPECT_EQ(target.midiMap[c], 55) << c;
    EXPECT_EQ(target.pitchBendRange, 17);
    std::remove(path.c_str());
}

TEST(MidiMapFile, LoadClampsEveryEntryIntoMinusOneTo100)
{
    std::vector<unsigned char> bytes = header();
    const int32_t stored[] = {0, 100, -1, 101, 250, -2, -7, 0x7FFFFFFF, INT32_MIN};
    const int32_t loaded[] = {0, 100, -1, 100, 100, -1, -1, 100, -1};
    for (int c = 0; c < 120; ++c)
        appendEntry(bytes, stored[c % 9]);
    const std::string path = tempPath("clamp.nbm");
    writeAll(path, bytes);
    Patch p = freshPatch();
    ASSERT_EQ(MidiMapFile::load(p, path.c_str()), MidiMapFile::Result::Ok);
    for (int c = 0; c < 120; ++c)
        EXPECT_EQ(p.midiMap[c], loaded[c % 9]) << "entry " << c;
    std::remove(path.c_str());
}

TEST(MidiMapFile, AShortBodyOverwritesOnlyTheBytesItHas)
{
    Patch p = freshPatch();
    for (int c = 0; c < 120; ++c)
        p.midiMap[c] = 0x30 + c % 8; // small, so a half-overwritten entry stays small
    std::vector<unsigned char> bytes = header();
    appendEntry(bytes, 9);
    appendEntry(bytes, -1);
    bytes.push_back(5); // the low byte of entry 2 only
    const std::string path = tempPath("short.nbm");
    writeAll(path, bytes);
    ASSERT_EQ(MidiMapFile::load(p, path.c_str()), MidiMapFile::Result::Ok);
    EXPECT_EQ(p.midiMap[0], 9);
    EXPECT_EQ(p.midiMap[1], -1);
    EXPECT_EQ(p.midiMap[2], 5); // old bytes 0x32 00 00 00, low byte now 05
    for (int c = 3; c < 120; ++c)
        EXPECT_EQ(p.midiMap[c], 0x30 + c % 8) << c;

    // A header alone changes nothing, but clamps what was out of range.
    p.midiMap[50] = 5000;
    writeAll(path, header());
    ASSERT_EQ(MidiMapFile::load(p, path.c_str()), MidiMapFile::Result::Ok);
    EXPECT_EQ(p.midiMap[50], 100);
    EXPECT_EQ(p.midiMap[0], 9);
    std::remove(path.c_str());
}

TEST(MidiMapFile, EveryFailureHasItsMessageAndLeavesTheMapAlone)
{
    const Patch before = freshPatch();
    Patch p = before;
    const std::string path = tempPath("bad.nbm");
    auto expectUnchanged = [&](const char* what) {
        EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0) << what;
    };

    std::vector<unsigned char> bytes = header();
    bytes.pop_back();
    writeAll(path, bytes); // 29 bytes
    MidiMapFile::Result r = MidiMapFile::load(p, path.c_str());
    EXPECT_STREQ(MidiMapFile::message(r), "Error reading MIDI MAP FILE");
    expectUnchanged("29 bytes");

    writeAll(path, {});
    EXPECT_EQ(MidiMapFile::load(p, path.c_str()), MidiMapFile::Result::ReadFailed);

    for (const char* other : {"nimbulator MIDI controller map", "Nimbulator MIDI controller ma\0",
                              "Nimbulator MIDI controller mat"}) {
        bytes.assign(other, other + 30);
        for (int c = 0; c < 120; ++c)
            appendEntry(bytes, 1);
        writeAll(path, bytes);
        r = MidiMapFile::load(p, path.c_str());
        EXPECT_STREQ(MidiMapFile::message(r), "Invalid MIDI MAP file!") << other;
        expectUnchanged(other);
    }

    std::remove(path.c_str());
    r = MidiMapFile::load(p, path.c_str());
    EXPECT_STREQ(MidiMapFile::message(r), "Error opening MIDI MAP FILE");
    r = MidiMapFile::load(p, nullptr);
    EXPECT_EQ(r, MidiMapFile::Result::OpenFailed);
    expectUnchanged("missing file");

    r = MidiMapFile::save(p, tempPath(nowhere).c_str());
    EXPECT_STREQ(MidiMapFile::message(r), "Error opening MIDI MAP FILE for writing");
    EXPECT_STREQ(MidiMapFile::message(MidiMapFile::Result::WriteFailed),
                 "Error saving MIDI MAP FILE");
    EXPECT_EQ(MidiMapFile::message(MidiMapFile::Result::Ok), nullptr);
}

TEST(PresetFile, ProposedPathIsTheAuthorsFolderAndTheProgramName)
{
    Patch p = freshPatch();
    std::strcpy(p.name, "new patch #3");
    EXPECT_EQ(PresetFile::proposedPath(p), "c:\\nimbulator\\presets\\new patch #3");
    std::memset(p.name, 'x', sizeof p.name); // no terminator in a record from outside
    EXPECT_EQ(PresetFile::proposedPath(p), "c:\\nimbulator\\presets\\" + std::string(24, 'x'));
    p.name[0] = 0;
    EXPECT_EQ(PresetFile::proposedPath(p), "c:\\nimbulator\\presets\\");
}

TEST(PresetFile, ExportWritesTheChunkBytesAndReadsBackOnlyWholeRecords)
{
    auto synth = synthtest::makeSynth();
    synth->setProgram(2);
    void* chunk = nullptr;
    ASSERT_EQ(synth->getChunk(&chunk, false), 1908);
    const Patch& program = *static_cast<const Patch*>(chunk);
    EXPECT_STREQ(program.name, "new patch #3");

    const std::string path = tempPath("new patch #3.NBP");
    ASSERT_EQ(PresetFile::write(program, path.c_str()), PresetFile::Result::Ok);
    std::vector<unsigned char> bytes = readAll(path);
    ASSERT_EQ(bytes.size(), 1908u);
    EXPECT_EQ(std::memcmp(bytes.data(), chunk, 1908), 0);
    // The name, its terminator, then zero bytes to the end of the field.
    EXPECT_EQ(std::memcmp(bytes.data(), "new patch #3\0\0\0\0\0\0\0\0\0\0\0\0", 24), 0);

    Patch back = freshPatch();
    ASSERT_EQ(PresetFile::read(path.c_str(), back), PresetFile::Result::Ok);
    EXPECT_EQ(std::memcmp(&back, chunk, 1908), 0);

    const Patch untouched = freshPatch();
    for (size_t size : {1907u, 1909u, 0u}) {
        bytes.resize(size, 7);
        writeAll(path, bytes);
        back = untouched;
        EXPECT_EQ(PresetFile::read(path.c_str(), back), PresetFile::Result::WrongSize) << size;
        EXPECT_EQ(std::memcmp(&back, &untouched, sizeof back), 0) << size;
    }
    std::remove(path.c_str());
    EXPECT_EQ(PresetFile::read(path.c_str(), back), PresetFile::Result::OpenFailed);

    const PresetFile::Result r = PresetFile::write(program, tempPath(nowhere).c_str());
    EXPECT_STREQ(PresetFile::message(r), "Error opening preset file");
    EXPECT_STREQ(PresetFile::message(PresetFile::Result::WriteFailed), "Error saving preset file");
}

TEST(PresetFile, AnExportedFactoryPresetEqualsItsBankRecord)
{
    auto synth = synthtest::makeSynth();
    const std::string path = tempPath("factory.NBP");
    for (int32_t index : {0, 11, 44}) {
        const Patch& record = FactoryBank::record(index);
        ASSERT_EQ(synth->loadPresetRecord(&record, 1908, false), 1908);
        ASSERT_EQ(PresetFile::write(*synth->getCurrentProgram(), path.c_str()),
                  PresetFile::Result::Ok);
        const std::vector<unsigned char> bytes = readAll(path);
        ASSERT_EQ(bytes.size(), 1908u);
        EXPECT_EQ(std::memcmp(bytes.data(), &record, 1908), 0) << FactoryBank::name(index);
    }
    std::remove(path.c_str());
}
