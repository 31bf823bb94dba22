// Reads a fuzzer's byte string as a stream of typed values; past the end
// every read yields zero, so a target never reads out of bounds.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool empty() const { return position >= size; }
    uint8_t byte() { return position < size ? data[position++] : 0; }
    uint16_t word()
    {
        uint16_t lo = byte();
        return static_cast<uint16_t>(lo | (byte() << 8));
    }
    uint32_t dword()
    {
        uint32_t lo = word();
        return lo | (static_cast<uint32_t>(word()) << 16);
    }
    // Any bit pattern: NaN, infinities and denormals included.
    float rawFloat()
    {
        uint32_t bits = dword();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // A parameter value: mostly 0..1, sometimes one of the awkward ones.
    float parameterValue()
    {
        switch (byte() % 8) {
        case 0:
            return rawFloat();
        case 1: {
            static const float awkward[] = {NAN,    INFINITY, -INFINITY,  1e30f, -1e30f,
                                            1e-40f, -0.0f,    1.0000001f, -1.0f, 2.0f};
            return awkward[byte() % 10];
        }
        default:
            return word() / 65535.0f;
        }
    }
    // An audio sample a host might send: finite, mostly within +-1.
    float sample()
    {
        uint8_t kind = byte();
        if (kind < 240)
            return (static_cast<int16_t>(word()) / 32768.0f);
        float x = rawFloat();
        return std::isfinite(x) ? x : 0.0f;
    }
    const uint8_t* rest(size_t& length)
    {
        length = position < size ? size - position : 0;
        const uint8_t* p = data + (position < size ? position : size);
        position = size;
        return p;
    }

private:
    const uint8_t* data;
    size_t size;
    size_t position = 0;
};
