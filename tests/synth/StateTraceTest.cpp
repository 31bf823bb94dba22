// The engine's state over a long session stays exactly what it was when the
// trace was recorded: after every processed block, a hash of every
// oscillator's flight and sound state and of every voice's envelopes and
// sound state must equal the recorded one, and the audio must stay within
// -120 dB (1e-6) of the recorded audio (checked at each block's last sample
// and on each block's sum). Speed work may reorder how oscillators are
// summed into the output, nothing else.
//
// The session plays notes, controllers, pitch bend, all-notes-off, program
// changes, parameter changes and random patches loaded as chunks, in blocks
// of 0 to 512 frames, all driven by a fixed generator of its own.
//
// To record the trace anew (only after a deliberate change of what the
// engine computes), run the test with NIMBULATOR_RECORD_STATE_TRACE set to
// the path of StateTraceFixture.inc; it writes the file and passes.
#include "DenormalGuard.h"
#include "MidiEventList.h"
#include "Patch.h"
#include "Random.h"
#include "RandomPatch.h"
#include "SynthTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
struct TraceEntry {
    uint64_t hash;
    float lastLeft, lastRight;
    double sumLeft, sumRight;
};

const TraceEntry kRecorded[] = {
#include "StateTraceFixture.inc"
};

const int kBlocks = 1200;
const int kPrograms = 8;

// The session's own generator, apart from the engine's per-thread one.
class SessionRandom {
public:
    uint32_t next()
    {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }
    float unit() { return static_cast<float>(next() & 0xFFFF) / 65535.0f; }

private:
    uint32_t state = 20261209u;
};

class Fnv {
public:
    template <typename T> void add(const T& value)
    {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes)
            hash = (hash ^ b) * 1099511628211ull;
    }
    template <typename T, size_t N> void add(const T (&values)[N])
    {
        for (const T& v : values)
            add(v);
    }
    uint64_t value() const { return hash; }

private:
    uint64_t hash = 1469598103934665603ull;
};

int32_t indexOf(const Voice* voice, const SynthEngine& engine)
{
    return voice ? static_cast<int32_t>(voice - engine.voices) : -1;
}

uint64_t stateHash(const SynthEngine& engine)
{
    Fnv h;
    for (const Oscillator& o : engine.oscillators) {
        h.add(indexOf(o.voice, engine));
        for (int d = 0; d < 5; ++d)
            h.add(o.position(d));
        for (int d = 0; d < 5; ++d)
            h.add(o.velocity(d));
        for (int d = 0; d < 5; ++d)
            h.add(o.value(d));
        h.add(o.display);
        h.add(o.phase());
        h.add(o.noiseIndex());
        h.add(o.fadeLevel);
        h.add(o.fadeDirection);
        h.add(o.removed);
        h.add(o.gliding);
        h.add(o.glideLevel);
        h.add(o.previous);
        h.add(o.speedFactor());
        h.add(o.neighbour ? static_cast<int32_t>(o.neighbour - engine.oscillators) : -1);
        h.add(o.neighbourDist2);
        h.add(o.invDistance);
        h.add(o.scanIndex);
    }
    for (const Voice& v : engine.voices) {
        for (const Envelope& e : v.envelopes) {
            h.add(e.stage);
            h.add(e.value);
            h.add(e.step);
            h.add(e.remaining);
            h.add(e.point);
            h.add(e.target);
        }
        h.add(v.state);
        h.add(v.note);
        h.add(v.velocityGain);
        h.add(v.oscCount);
        h.add(v.smoothedCount);
        h.add(v.countSmoothing);
        h.add(v.speed);
        h.add(v.lfoPhase);
        h.add(v.home);
        h.add(v.range);
    }
    const SynthSettings& s = engine.settings;
    h.add(s.volume);
    h.add(s.panHome);
    h.add(s.resonanceHome);
    h.add(s.noiseHome);
    h.add(s.volumeRange);
    h.add(s.pitchRange);
    h.add(s.panRange);
    h.add(s.resonanceRange);
    h.add(s.noiseRange);
    h.add(s.cutoffNote);
    h.add(s.filterQParam);
    h.add(s.driveParam);
    h.add(s.pitchBend);
    h.add(s.requestedCount);
    h.add(s.liveCount);
    h.add(engine.activeCount);
    h.add(engine.releasingCount);
    h.add(engine.freeCount);
    h.add(engine.steerIndex);
    h.add(engine.redistributeIndex);
    return h.value();
}

// The programs of the session: the default patch, the extremes of the
// oscillator count and filter depth, and random patches of fixed draws.
std::vector<Patch> sessionPrograms()
{
    std::vector<Patch> list(kPrograms);
    for (int k = 0; k < kPrograms; ++k) {
        Patch& p = list[static_cast<size_t>(k)];
        newPatch(p);
        if (k == 1) {
            p.oscillatorCount = 64;
            p.filterDepth = 2;
            p.lfoDepth = 60;
        } else if (k == 2) {
            p.oscillatorCount = 1;
            p.filterDepth = 0;
            p.polyphonic = 0;
        } else if (k >= 3) {
            fillRandomPatchFromDraw(p, 1000 + 777 * k);
        }
        p.seed = 4321 + k; // otherwise drawn from the clock
        p.syncToHost = 0;
    }
    return list;
}

void appendEvents(SessionRandom& random, MidiEventList& events, int frames, std::vector<int>& held)
{
    const int count = random.below(5);
    for (int i = 0; i < count; ++i) {
        const int32_t at = frames > 0 ? random.below(frames) : 0;
        const int kind = random.below(100);
        if (kind < 35) {
            const int note = 30 + random.below(70);
            events.add(at, 0x90, static_cast<uint8_t>(note),
                       static_cast<uint8_t>(1 + random.below(127)));
            held.push_back(note);
        } else if (kind < 65 && !held.empty()) {
            const size_t which = static_cast<size_t>(random.below(static_cast<int>(held.size())));
            const bool asVelocityZero = random.below(4) == 0;
            events.add(at, asVelocityZero ? 0x90 : 0x80, static_cast<uint8_t>(held[which]), 0);
            held.erase(held.begin() + static_cast<long>(which));
        } else if (kind < 80) {
            const int value = random.below(16384);
            events.add(at, 0xE0, static_cast<uint8_t>(value & 0x7F),
                       static_cast<uint8_t>(value >> 7));
        } else if (kind < 98) {
            static const uint8_t controllers[] = {1, 7, 10, 71, 74, 91, 93, 2};
            events.add(at, 0xB0, controllers[random.below(8)],
                       static_cast<uint8_t>(random.below(128)));
        } else {
            events.add(at, 0xB0, 123, 0);
            held.clear();
        }
    }
}
// Plays the session, with the processor flushing denormals to zero (as the
// plug-in's processing entries have it) or not, and compares or records.
void playSession(bool hardwareFlush)
{
    const char* recordPath = std::getenv("NIMBULATOR_RECORD_STATE_TRACE");
    const bool recording = recordPath && *recordPath && !hardwareFlush;
    if (!recording) {
        ASSERT_EQ(sizeof kRecorded / sizeof kRecorded[0], static_cast<size_t>(kBlocks))
            << "the recorded trace has the wrong length";
    }

    std::unique_ptr<VstXSynth> synth = synthtest::makeSynth();
    synth->setSampleRate(44100.0f);
    synth->setBlockSize(512);
    std::vector<Patch> programs = sessionPrograms();
    for (int k = 0; k < kPrograms; ++k) {
        synth->setProgram(k);
        ASSERT_EQ(synth->setChunk(&programs[static_cast<size_t>(k)], sizeof(Patch), true),
                  static_cast<VstInt32>(sizeof(Patch)));
    }
    synth->setProgram(0);
    seedRandom(97531); // the audio thread's draws (reseed mode 1) start here
    synth->resume();
    const SynthEngine& engine = synth->soundEngine();

    SessionRandom random;
    std::vector<float> left(512), right(512);
    float* outputs[] = {left.data(), right.data()};
    MidiEventList events(16);
    std::vector<int> held;
    std::vector<TraceEntry> trace;
    int failures = 0;
    for (int b = 0; b < kBlocks; ++b) {
        // Between blocks, as a host's UI thread would.
        if (b % 97 == 96)
            synth->setProgram(random.below(kPrograms));
        if (b % 41 == 40)
            synth->setParameter(random.below(VstXSynth::kNumParams), random.unit());
        if (b % 211 == 210) {
            Patch p = programs[0];
            fillRandomPatchFromDraw(p, random.below(32768));
            p.seed = 55 + b;
            p.syncToHost = 0;
            synth->setChunk(&p, sizeof p, true);
        }
        if (b == 600) {
            synth->suspend();
            synth->resume();
        }

        const int shape = random.below(10);
        const int frames = shape == 0  ? random.below(3) // 0, 1 or 2 frames
                           : shape < 4 ? 1 + random.below(64)
                                       : 64 + random.below(449);
        events.clear();
        appendEvents(random, events, frames, held);
        if (events.size() > 0)
            synth->processEvents(events.events());
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);
        {
            std::unique_ptr<DenormalGuard> guard(hardwareFlush ? new DenormalGuard : nullptr);
            synth->processReplacing(nullptr, outputs, frames);
        }

        TraceEntry now{stateHash(engine), frames > 0 ? left[frames - 1] : 0.0f,
                       frames > 0 ? right[frames - 1] : 0.0f, 0.0, 0.0};
        for (int i = 0; i < frames; ++i) {
            now.sumLeft += left[static_cast<size_t>(i)];
            now.sumRight += right[static_cast<size_t>(i)];
        }
        trace.push_back(now);
        if (recording)
            continue;

        const TraceEntry& then = kRecorded[b];
        const double tolerance = 1e-6; // -120 dB of full scale
        const bool same = now.hash == then.hash &&
                          std::fabs(now.lastLeft - then.lastLeft) <= tolerance &&
                          std::fabs(now.lastRight - then.lastRight) <= tolerance &&
                          std::fabs(now.sumLeft - then.sumLeft) <= tolerance * (frames + 1) &&
                          std::fabs(now.sumRight - then.sumRight) <= tolerance * (frames + 1);
        if (!same && ++failures <= 5)
            ADD_FAILURE() << (hardwareFlush ? "(hardware flush) " : "") << "block " << b << " ("
                          << frames << " frames): state hash " << std::hex << now.hash
                          << " (recorded " << then.hash << ")" << std::dec << ", last sample "
                          << now.lastLeft << " / " << now.lastRight << " (recorded "
                          << then.lastLeft << " / " << then.lastRight << "), block sum "
                          << now.sumLeft << " / " << now.sumRight << " (recorded " << then.sumLeft
                          << " / " << then.sumRight << ")";
        if (failures > 5)
            break;
    }
    EXPECT_EQ(failures, 0);

    if (recording) {
        FILE* f = std::fopen(recordPath, "w");
        ASSERT_NE(f, nullptr) << "cannot write " << recordPath;
        std::fprintf(f,
                     "// Recorded by StateTraceTest (NIMBULATOR_RECORD_STATE_TRACE): per block,\n"
                     "// the state hash, the last left and right samples and the block sums.\n");
        for (const TraceEntry& e : trace)
            std::fprintf(f, "{0x%016llxull, %a, %a, %a, %a},\n",
                         static_cast<unsigned long long>(e.hash), static_cast<double>(e.lastLeft),
                         static_cast<double>(e.lastRight), e.sumLeft, e.sumRight);
        std::fclose(f);
    }
}
// The recording was made by the native GCC build against glibc's maths.
// Other toolchains and C libraries (clang's code generation under the
// sanitizers, MinGW's sin/exp2/pow) may round the last bit differently, so
// the bit-exact comparison runs where the recording was made.
bool recordedToolchain()
{
#if defined(__GNUC__) && !defined(__clang__) && defined(__linux__)
    return true;
#else
    return false;
#endif
}
} // namespace

TEST(StateTrace, FlockEnvelopesAndAudioFollowTheRecordedSession)
{
    if (!recordedToolchain())
        GTEST_SKIP() << "the trace was recorded by the native GCC build";
    playSession(false);
}

TEST(StateTrace, TheSameWhileTheProcessorFlushesDenormals)
{
    if (!recordedToolchain())
        GTEST_SKIP() << "the trace was recorded by the native GCC build";
    playSession(true);
}
