#include "ChmListing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {
// A small help file built as chmcmd lays one out: file header, directory
// header, then fixed-size chunks of listing entries.
class HelpFileBuilder {
public:
    static const uint32_t kChunk = 256;

    // Starts a listing chunk; entries go into the newest chunk.
    void listingChunk() { chunks.push_back(Chunk{"PMGL", {}, 0}); }
    // An index chunk, which the reader must skip.
    void indexChunk() { chunks.push_back(Chunk{"PMGI", {0x01, 'x', 0x00}, 0}); }
    void entry(const std::string& name, uint64_t section = 0, uint64_t offset = 0,
               uint64_t length = 0)
    {
        std::vector<uint8_t>& e = chunks.back().entries;
        encInt(e, name.size());
        e.insert(e.end(), name.begin(), name.end());
        encInt(e, section);
        encInt(e, offset);
        encInt(e, length);
    }
    void raw(const std::vector<uint8_t>& bytes)
    {
        std::vector<uint8_t>& e = chunks.back().entries;
        e.insert(e.end(), bytes.begin(), bytes.end());
    }
    // Overrides the length of the newest chunk's unused tail.
    void unused(uint32_t bytes) { chunks.back().unusedOverride = bytes; }

    std::vector<uint8_t> build() const
    {
        std::vector<uint8_t> out(0x60, 0);
        put(out, 0, "ITSF");
        put32(out, 0x04, 3);
        put32(out, 0x08, 0x60);
        const uint64_t directory = out.size();
        const uint64_t length = 0x54 + uint64_t(kChunk) * chunks.size();
        put64(out, 0x48, directory);
        put64(out, 0x50, length);
        out.resize(out.size() + 0x54, 0);
        put(out, directory, "ITSP");
        put32(out, directory + 0x08, 0x54);
        put32(out, directory + 0x10, kChunk);
        put32(out, directory + 0x2C, static_cast<uint32_t>(chunks.size()));
        for (const Chunk& c : chunks) {
            const size_t at = out.size();
            out.resize(at + kChunk, 0);
            put(out, at, c.signature);
            const size_t room = kChunk - 0x14;
            const size_t used = c.entries.size() < room ? c.entries.size() : room;
            put32(out, at + 4,
                  c.unusedOverride ? c.unusedOverride : static_cast<uint32_t>(room - used));
            std::copy(c.entries.begin(), c.entries.begin() + static_cast<long>(used),
                      out.begin() + static_cast<long>(at + 0x14));
        }
        return out;
    }

    static void encInt(std::vector<uint8_t>& out, uint64_t v)
    {
        uint8_t groups[10];
        int n = 0;
        do {
            groups[n++] = v & 0x7f;
            v >>= 7;
        } while (v);
        while (n-- > 0)
            out.push_back(static_cast<uint8_t>(groups[n] | (n ? 0x80 : 0)));
    }
    static void put(std::vector<uint8_t>& b, size_t at, const char* text)
    {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<uint8_t>(text[i]);
    }
    static void put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
    static void put64(std::vector<uint8_t>& b, size_t at, uint64_t v)
    {
        for (int i = 0; i < 8; ++i)
            b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }

private:
    struct Chunk {
        const char* signature;
        std::vector<uint8_t> entries;
        uint32_t unusedOverride;
    };
    std::vector<Chunk> chunks;
};

std::string refusal(const std::vector<uint8_t>& bytes)
{
    ChmListing listing;
    std::string error;
    if (listing.parse(bytes, error))
        return "read";
    EXPECT_TRUE(listing.names().empty());
    return error;
}
} // namespace

TEST(ChmListing, ReadsEveryListingChunkAndSkipsIndexChunks)
{
    HelpFileBuilder help;
    help.listingChunk();
    help.entry("/");
    help.entry("::DataSpace/NameList", 0, 0, 60);
    help.entry("/Additional Processing.htm", 1, 300, 4000);
    help.indexChunk();
    help.listingChunk();
    // A name longer than 127 bytes and an offset past 2^32 take several
    // bytes in the entry's variable-length numbers.
    const std::string longName = "/images/" + std::string(150, 'p') + ".png";
    help.entry(longName, 1, 0x123456789ull, 200000);
    help.entry("/Welcome.htm", 1, 4300, 9000);
    help.entry("/images/Window.png");
    ChmListing listing;
    std::string error;
    ASSERT_TRUE(listing.parse(help.build(), error)) << error;
    EXPECT_EQ(listing.names(),
              (std::vector<std::string>{"/", "::DataSpace/NameList", "/Additional Processing.htm",
                                        longName, "/Welcome.htm", "/images/Window.png"}));
    EXPECT_EQ(listing.pages(),
              (std::vector<std::string>{"Additional Processing.htm", "Welcome.htm"}));
    EXPECT_TRUE(listing.hasTopic("Additional Processing.htm"));
    EXPECT_TRUE(listing.hasTopic("Welcome.htm"));
    // Names are compared exactly, as stored.
    EXPECT_FALSE(listing.hasTopic("Additional_Processing.htm"));
    EXPECT_FALSE(listing.hasTopic("welcome.htm"));
    EXPECT_FALSE(listing.hasTopic("/Welcome.htm"));
    EXPECT_FALSE(listing.hasTopic("Window.png"));
    EXPECT_FALSE(listing.hasTopic(""));
    EXPECT_TRUE(listing.contains("/images/Window.png"));
}

TEST(ChmListing, RefusesDamagedFilesWithoutReadingPastThem)
{
    HelpFileBuilder good;
    good.listingChunk();
    good.entry("/Welcome.htm", 1, 0, 10);
    const std::vector<uint8_t> file = good.build();
    ASSERT_EQ(refusal(file), "read");

    EXPECT_EQ(refusal({}), "not a compiled help file");
    EXPECT_EQ(refusal(std::vector<uint8_t>(file.begin(), file.begin() + 0x50)),
              "not a compiled help file");
    std::vector<uint8_t> b = file;
    b[0] = 'X';
    EXPECT_EQ(refusal(b), "not a compiled help file");

    // Cut anywhere inside the directory, the file is refused.
    for (size_t size : {size_t(0x60), size_t(0x60 + 0x40), file.size() - 1}) {
        EXPECT_EQ(refusal(std::vector<uint8_t>(file.begin(), file.begin() + size)),
                  "the directory lies outside the file")
            << size;
    }
    // A directory offset or length far beyond the file, or one that wraps.
    for (uint64_t offset : {uint64_t(1) << 40, ~uint64_t(0) - 8}) {
        b = file;
        HelpFileBuilder::put64(b, 0x48, offset);
        EXPECT_EQ(refusal(b), "the directory lies outside the file") << offset;
    }
    b = file;
    HelpFileBuilder::put64(b, 0x50, ~uint64_t(0));
    EXPECT_EQ(refusal(b), "the directory lies outside the file");

    // More chunks than the directory holds, a zero or huge chunk size, a
    // header longer than the directory.
    const size_t dir = 0x60;
    for (auto change : std::vector<std::pair<size_t, uint32_t>>{
             {0x2C, 2}, {0x2C, 0xffffffffu}, {0x10, 0}, {0x10, 0xffffffffu}, {0x08, 0x10000}}) {
        b = file;
        HelpFileBuilder::put32(b, dir + change.first, change.second);
        EXPECT_EQ(refusal(b), "the directory's chunks do not fit in it")
            << change.first << " " << change.second;
    }
}

TEST(ChmListing, RefusesEntriesThatRunPastTheirChunk)
{
    // A name longer than the rest of the chunk.
    HelpFileBuilder help;
    help.listingChunk();
    help.raw({0x81, 0x00, '/', 'a'}); // 128 bytes claimed, 2 present
    EXPECT_EQ(refusal(help.build()), "an entry's name runs past its chunk");

    // A name length whose continuation bit never ends.
    help = HelpFileBuilder();
    help.listingChunk();
    help.raw(std::vector<uint8_t>(20, 0xff));
    EXPECT_EQ(refusal(help.build()), "an entry's name runs past its chunk");

    // A zero-length name.
    help = HelpFileBuilder();
    help.listingChunk();
    help.raw({0x00, 0x00, 0x00, 0x00});
    EXPECT_EQ(refusal(help.build()), "an entry's name runs past its chunk");

    // The entry's numbers cut off by the chunk's used area.
    help = HelpFileBuilder();
    help.listingChunk();
    help.raw({0x02, '/', 'a', 0x00, 0x85});
    EXPECT_EQ(refusal(help.build()), "an entry is cut off at the end of its chunk");

    // An unused tail that claims more than the chunk.
    help = HelpFileBuilder();
    help.listingChunk();
    help.entry("/a.htm");
    help.unused(HelpFileBuilder::kChunk);
    EXPECT_EQ(refusal(help.build()), "a listing chunk's unused tail is longer than the chunk");

    // Only index chunks: nothing listed.
    help = HelpFileBuilder();
    help.indexChunk();
    EXPECT_EQ(refusal(help.build()), "the directory lists no files");
}

TEST(ChmListing, LoadReportsAMissingFileByItsPath)
{
    ChmListing listing;
    std::string error;
    EXPECT_FALSE(listing.load("no-such-folder/Nimbulator.chm", error));
    EXPECT_NE(error.find("no-such-folder/Nimbulator.chm"), std::string::npos);
}
