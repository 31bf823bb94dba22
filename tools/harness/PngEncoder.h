// Writes RGB pictures as PNG files without an image library: the pixel rows
// go into zlib "stored" (uncompressed) deflate blocks, checked with CRC-32
// per chunk and Adler-32 over the stream. The files are larger than a
// compressing encoder's but every viewer reads them.
#pragma once

#include "RgbImage.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class PngEncoder {
public:
    // The whole file; empty for a picture without pixels or with a size
    // that does not match its pixel count.
    static std::vector<uint8_t> encode(const RgbImage& image);
    // Writes encode(image) to `path`; false (with the reason) on failure.
    static bool write(const RgbImage& image, const std::string& path, std::string& error);

    // The checksums PNG uses, exposed for tests.
    static uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
    static uint32_t adler32(const uint8_t* data, size_t size);
};
