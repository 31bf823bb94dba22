// Fuzzes the filter effect through its binary interface: arbitrary
// parameter values (any float), displays, sample-rate changes and blocks of
// 0 to 8192 frames, in place or not. After every block every output sample
// must be finite.
#include "FilterEffect.h"
#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
intptr_t VSTCALLBACK host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

void checkFinite(const float* samples, int32_t frames, const char* what)
{
    for (int32_t i = 0; i < frames; ++i)
        if (!std::isfinite(samples[i])) {
            std::fprintf(stderr, "non-finite %s output at frame %d: %g\n", what, i,
                         static_cast<double>(samples[i]));
            std::abort();
        }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    FilterEffect* effect = new FilterEffect(host);
    AEffect* e = effect->getAeffect();
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);

    static std::vector<float> left(8192), right(8192), inLeft(8192), inRight(8192);
    int steps = 0;
    while (!in.empty() && steps++ < 64) {
        switch (in.byte() % 5) {
        case 0:
            e->setParameter(e, static_cast<int8_t>(in.byte()), in.parameterValue());
            break;
        case 1: {
            char text[256];
            int32_t index = static_cast<int8_t>(in.byte());
            e->dispatcher(e, effGetParamDisplay, index, 0, text, 0.0f);
            e->dispatcher(e, effGetParamName, index, 0, text, 0.0f);
            e->dispatcher(e, effGetParamLabel, index, 0, text, 0.0f);
            e->getParameter(e, index);
            break;
        }
        case 2: {
            static const float rates[] = {44100.0f,  48000.0f, 8000.0f,  192000.0f, 0.0f,
                                          -44100.0f, NAN,      INFINITY, 1.0f,      22050.0f};
            e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, rates[in.byte() % 10]);
            break;
        }
        default: {
            int32_t frames = in.word() % 8193;
            bool inPlace = in.byte() & 1;
            for (int32_t i = 0; i < frames; ++i) {
                inLeft[i] = in.sample();
                inRight[i] = inLeft[i];
            }
            float* outs[] = {left.data(), right.data()};
            if (inPlace) {
                std::copy(inLeft.begin(), inLeft.begin() + frames, left.begin());
                std::copy(inRight.begin(), inRight.begin() + frames, right.begin());
                e->processReplacing(e, outs, outs, frames);
            } else {
                float* ins[] = {inLeft.data(), inRight.data()};
                e->processReplacing(e, ins, outs, frames);
            }
            checkFinite(left.data(), frames, "left");
            checkFinite(right.data(), frames, "right");
        }
        }
    }
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
    return 0;
}
