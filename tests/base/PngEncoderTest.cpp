// The PNG writer: its checksums against published values, and the file's
// structure read back: chunks, stored deflate blocks across the 65535-byte
// limit, and the pixels in order.
#include "PngEncoder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
uint32_t read32(const std::vector<uint8_t>& d, size_t at)
{
    return (uint32_t(d[at]) << 24) | (uint32_t(d[at + 1]) << 16) | (uint32_t(d[at + 2]) << 8) |
           d[at + 3];
}

// Reassembles the raw scan lines from the stored blocks of the IDAT chunk.
std::vector<uint8_t> inflateStored(const std::vector<uint8_t>& z)
{
    std::vector<uint8_t> raw;
    size_t at = 2;
    for (;;) {
        const uint8_t header = z[at];
        const size_t n = z[at + 1] | (z[at + 2] << 8);
        EXPECT_EQ(n ^ 0xFFFF, size_t(z[at + 3] | (z[at + 4] << 8)));
        raw.insert(raw.end(), z.begin() + at + 5, z.begin() + at + 5 + n);
        at += 5 + n;
        if (header & 1)
            break;
    }
    EXPECT_EQ(read32(z, at), PngEncoder::adler32(raw.data(), raw.size()));
    EXPECT_EQ(at + 4, z.size());
    return raw;
}
} // namespace

TEST(PngEncoder, ChecksumsMatchPublishedValues)
{
    const char* text = "123456789";
    EXPECT_EQ(PngEncoder::crc32(reinterpret_cast<const uint8_t*>(text), 9), 0xCBF43926u);
    const uint8_t iend[] = {'I', 'E', 'N', 'D'};
    EXPECT_EQ(PngEncoder::crc32(iend, 4), 0xAE426082u);
    const char* wiki = "Wikipedia";
    EXPECT_EQ(PngEncoder::adler32(reinterpret_cast<const uint8_t*>(wiki), 9), 0x11E60398u);
}

TEST(PngEncoder, WritesChunksAndPixelsAcrossSeveralStoredBlocks)
{
    RgbImage image;
    image.width = 200;
    image.height = 150; // 150 rows of 601 bytes: two stored blocks
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.pixels.push_back(RgbImage::rgb(x, y, (x + y) & 255));
    const std::vector<uint8_t> png = PngEncoder::encode(image);
    ASSERT_GT(png.size(), 8u + 25u);
    EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
    EXPECT_EQ(read32(png, 8), 13u);
    EXPECT_EQ(std::memcmp(&png[12], "IHDR", 4), 0);
    EXPECT_EQ(read32(png, 16), 200u);
    EXPECT_EQ(read32(png, 20), 150u);
    EXPECT_EQ(png[24], 8);
    EXPECT_EQ(png[25], 2);
    EXPECT_EQ(read32(png, 29), PngEncoder::crc32(&png[12], 17));

    const size_t idat = 33;
    const uint32_t length = read32(png, idat);
    ASSERT_EQ(std::memcmp(&png[idat + 4], "IDAT", 4), 0);
    const std::vector<uint8_t> z(png.begin() + idat + 8, png.begin() + idat + 8 + length);
    EXPECT_EQ(read32(png, idat + 8 + length), PngEncoder::crc32(&png[idat + 4], length + 4));
    const std::vector<uint8_t> raw = inflateStored(z);
    ASSERT_EQ(raw.size(), 150u * 601u);
    const size_t row = 120 * 601;
    EXPECT_EQ(raw[row], 0);                    // filter: none
    EXPECT_EQ(raw[row + 1 + 3 * 77], 77);      // red = x
    EXPECT_EQ(raw[row + 1 + 3 * 77 + 1], 120); // green = y
    EXPECT_EQ(raw[row + 1 + 3 * 77 + 2], 197); // blue
    EXPECT_EQ(std::memcmp(&png[png.size() - 8], "IEND", 4), 0);
}

TEST(PngEncoder, RefusesPicturesWithoutPixelsOrWithAWrongPixelCount)
{
    RgbImage empty;
    EXPECT_TRUE(PngEncoder::encode(empty).empty());
    RgbImage wrong;
    wrong.width = 3;
    wrong.height = 3;
    wrong.pixels.assign(8, 0);
    EXPECT_TRUE(PngEncoder::encode(wrong).empty());
    std::string error;
    EXPECT_FALSE(PngEncoder::write(wrong, "never-written.png", error));
    EXPECT_FALSE(error.empty());
}
