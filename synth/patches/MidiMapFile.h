// The controller map file (*.nbm): 510 bytes, the 30-byte ASCII text
// "Nimbulator MIDI controller map" (no terminator) followed by the program's
// midiMap entries 0 to 119 as little-endian signed 32-bit integers. Entries
// 120 to 127 are never written or read. Loading takes a short body as far as
// it goes (byte by byte over the old entries) and clamps every entry into
// -1..100, so no file can put an invalid index into the map.
//
// Threads: UI thread. The map is written entry by entry with plain stores
// (the audio thread reads it without a lock), and only ever with clamped
// values.
#pragma once

#include "Patch.h"

class MidiMapFile {
public:
    enum { kHeaderSize = 30, kEntries = 120, kFileSize = kHeaderSize + kEntries * 4 };

    enum class Result {
        Ok,
        OpenForWritingFailed, // save: the file cannot be created
        WriteFailed,          // save: the data did not reach the file
        OpenFailed,           // load: the file cannot be opened
        ReadFailed,           // load: shorter than the header
        WrongHeader,          // load: not a controller map file
    };

    // Writes `patch`'s entries 0..119 to `path`. On WriteFailed a partial
    // file may stay on disk.
    static Result save(const Patch& patch, const char* path);
    // Reads `path` over `patch`'s entries 0..119; on any result but Ok the
    // map is unchanged.
    static Result load(Patch& patch, const char* path);
    // The message box text of a failure; null for Ok.
    static const char* message(Result result);

    static const char kHeader[kHeaderSize + 1];
};
