#include "MidiMapFile.h"

#include <cstdio>
#include <cstring>

const char MidiMapFile::kHeader[kHeaderSize + 1] = "Nimbulator MIDI controller map";
static_assert(sizeof(MidiMapFile::kHeader) == 31, "the header is 30 characters");

namespace {
void putLittleEndian(unsigned char* out, int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    out[0] = static_cast<unsigned char>(v);
    out[1] = static_cast<unsigned char>(v >> 8);
    out[2] = static_cast<unsigned char>(v >> 16);
    out[3] = static_cast<unsigned char>(v >> 24);
}

int32_t getLittleEndian(const unsigned char* in)
{
    const uint32_t v = static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 |
                       static_cast<uint32_t>(in[2]) << 16 | static_cast<uint32_t>(in[3]) << 24;
    return static_cast<int32_t>(v);
}
} // namespace

MidiMapFile::Result MidiMapFile::save(const Patch& patch, const char* path)
{
    FILE* file = path ? std::fopen(path, "wb") : nullptr;
    if (!file)
        return Result::OpenForWritingFailed;
    if (std::fwrite(kHeader, kHeaderSize, 1, file) != 1) {
        std::fclose(file);
        return Result::WriteFailed;
    }
    unsigned char body[kEntries * 4];
    for (int c = 0; c < kEntries; ++c)
        putLittleEndian(body + c * 4, patch.midiMap[c]);
    // A full disk shows up here or when the buffer is flushed at close.
    const bool written = std::fwrite(body, sizeof body, 1, file) == 1;
    const bool closed = std::fclose(file) == 0;
    return written && closed ? Result::Ok : Result::WriteFailed;
}

MidiMapFile::Result MidiMapFile::load(Patch& patch, const char* path)
{
    FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file)
        return Result::OpenFailed;
    char header[kHeaderSize];
    if (std::fread(header, kHeaderSize, 1, file) != 1) {
        std::fclose(file);
        return Result::ReadFailed;
    }
    if (std::memcmp(header, kHeader, kHeaderSize) != 0) {
        std::fclose(file);
        return Result::WrongHeader;
    }
    // The old entries' bytes, overwritten as far as the file goes.
    unsigned char body[kEntries * 4];
    for (int c = 0; c < kEntries; ++c)
        putLittleEndian(body + c * 4, patch.midiMap[c]);
    // A short body overwrites only the bytes it has.
    const size_t got = std::fread(body, 1, sizeof body, file);
    std::fclose(file);
    static_cast<void>(got);
    for (int c = 0; c < kEntries; ++c) {
        int32_t entry = getLittleEndian(body + c * 4);
        entry = entry > 100 ? 100 : (entry < -1 ? -1 : entry);
        if (patch.midiMap[c] != entry)
            patch.midiMap[c] = entry;
    }
    return Result::Ok;
}

const char* MidiMapFile::message(Result result)
{
    switch (result) {
    case Result::Ok:
        return nullptr;
    case Result::OpenForWritingFailed:
        return "Error opening MIDI MAP FILE for writing";
    case Result::WriteFailed:
        return "Error saving MIDI MAP FILE";
    case Result::OpenFailed:
        return "Error opening MIDI MAP FILE";
    case Result::ReadFailed:
        return "Error reading MIDI MAP FILE";
    case Result::WrongHeader:
        return "Invalid MIDI MAP file!";
    }
    return nullptr;
}
