// The list of files stored in a compiled HTML Help file (.chm), read from
// its directory the way a help viewer finds a topic: the file header points
// at the directory, whose listing chunks ("PMGL") hold one entry per stored
// path ("/Welcome.htm", "/images/Window.png", internal "::" and "#" files).
// Tests use it to check that every topic the editor asks the viewer for is a
// page of the help file the build made. Header-only and free of Win32, so
// the native tests check the reader and any GUI suite can use it.
//
// Layout read here (all numbers little-endian):
//   file header "ITSF": the directory's offset (8 bytes at 0x48) and length
//     (8 bytes at 0x50);
//   directory header "ITSP": its own length (4 bytes at 0x08), the chunk size
//     (0x10) and the number of chunks (0x2C); the chunks follow the header;
//   listing chunk "PMGL": the length of the unused tail (4 bytes at 0x04),
//     then entries from 0x14: name length, name (UTF-8), section, offset and
//     length, each number a variable-length integer of 7-bit groups, most
//     significant first, the top bit set on every byte but the last.
// Index chunks ("PMGI") only speed up look-ups and are skipped. Damaged or
// truncated files are refused with a reason, never read past their end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class ChmListing {
public:
    // Reads the help file at `path`; false, with the reason in `error`, when
    // it cannot be read or is not a well-formed help file.
    bool load(const std::string& path, std::string& error)
    {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            error = "cannot open " + path;
            return false;
        }
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        if (!parse(bytes, error)) {
            error = path + ": " + error;
            return false;
        }
        return true;
    }

    // Reads a help file held in memory. On failure the listing is empty.
    bool parse(const std::vector<uint8_t>& bytes, std::string& error)
    {
        stored.clear();
        if (!readAll(bytes, error)) {
            stored.clear();
            return false;
        }
        return true;
    }

    // Every stored path, in the directory's order.
    const std::vector<std::string>& names() const { return stored; }

    // True when the file holds exactly this stored path ("/Welcome.htm").
    bool contains(const std::string& name) const
    {
        for (const std::string& s : stored)
            if (s == name)
                return true;
        return false;
    }

    // True when `topic`, a page name as the editor passes it to the viewer
    // ("Additional Processing.htm"), is a page at the file's root.
    bool hasTopic(const std::string& topic) const
    {
        return !topic.empty() && topic[0] != '/' && contains("/" + topic);
    }

    // The pages (".htm" files) at the file's root, without the leading "/".
    std::vector<std::string> pages() const
    {
        std::vector<std::string> out;
        const std::string suffix = ".htm";
        for (const std::string& s : stored)
            if (s.size() > suffix.size() + 1 && s[0] == '/' &&
                s.find('/', 1) == std::string::npos &&
                s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0)
                out.push_back(s.substr(1));
        return out;
    }

private:
    static uint64_t readLe(const std::vector<uint8_t>& b, size_t at, int size)
    {
        uint64_t v = 0;
        for (int i = size - 1; i >= 0; --i)
            v = (v << 8) | b[at + static_cast<size_t>(i)];
        return v;
    }
    static bool signature(const std::vector<uint8_t>& b, size_t at, const char* text)
    {
        for (size_t i = 0; i < 4; ++i)
            if (b[at + i] != static_cast<uint8_t>(text[i]))
                return false;
        return true;
    }
    // A variable-length integer at `at`, not reading at or past `end`.
    static bool readEncInt(const std::vector<uint8_t>& b, size_t& at, size_t end, uint64_t& value)
    {
        value = 0;
        for (int n = 0; n < 9; ++n) {
            if (at >= end)
                return false;
            const uint8_t byte = b[at++];
            value = (value << 7) | (byte & 0x7f);
            if (!(byte & 0x80))
                return true;
        }
        return false; // longer than any 64-bit value
    }

    bool readAll(const std::vector<uint8_t>& b, std::string& error)
    {
        const size_t fileHeader = 0x58;
        if (b.size() < fileHeader || !signature(b, 0, "ITSF")) {
            error = "not a compiled help file";
            return false;
        }
        const uint64_t directory = readLe(b, 0x48, 8);
        const uint64_t directoryLength = readLe(b, 0x50, 8);
        const size_t directoryHeader = 0x54;
        if (directory > b.size() || directoryLength > b.size() - directory ||
            directoryLength < directoryHeader ||
            !signature(b, static_cast<size_t>(directory), "ITSP")) {
            error = "the directory lies outside the file";
            return false;
        }
        const size_t base = static_cast<size_t>(directory);
        const uint64_t headerLength = readLe(b, base + 0x08, 4);
        const uint64_t chunkSize = readLe(b, base + 0x10, 4);
        const uint64_t chunks = readLe(b, base + 0x2C, 4);
        if (headerLength < directoryHeader || headerLength > directoryLength || chunkSize < 0x14 ||
            chunkSize > (1u << 20) || chunks > (directoryLength - headerLength) / chunkSize) {
            error = "the directory's chunks do not fit in it";
            return false;
        }
        for (uint64_t c = 0; c < chunks; ++c) {
            const size_t chunk = base + static_cast<size_t>(headerLength + c * chunkSize);
            if (!signature(b, chunk, "PMGL"))
                continue;
            const uint64_t unused = readLe(b, chunk + 0x04, 4);
            if (unused > chunkSize - 0x14) {
                error = "a listing chunk's unused tail is longer than the chunk";
                return false;
            }
            size_t at = chunk + 0x14;
            const size_t end = chunk + static_cast<size_t>(chunkSize - unused);
            while (at < end) {
                uint64_t length = 0, section = 0, offset = 0, size = 0;
                if (!readEncInt(b, at, end, length) || length == 0 || length > end - at) {
                    error = "an entry's name runs past its chunk";
                    return false;
                }
                stored.emplace_back(reinterpret_cast<const char*>(&b[at]),
                                    static_cast<size_t>(length));
                at += static_cast<size_t>(length);
                if (!readEncInt(b, at, end, section) || !readEncInt(b, at, end, offset) ||
                    !readEncInt(b, at, end, size)) {
                    error = "an entry is cut off at the end of its chunk";
                    return false;
                }
            }
        }
        if (stored.empty()) {
            error = "the directory lists no files";
            return false;
        }
        return true;
    }

    std::vector<std::string> stored;
};
