#include "SynthEngine.h"

#include "FlockKernel.h"
#include "Random.h"

#include <cmath>
#include <cstring>

namespace {
inline int32_t clampInt(int32_t value, int32_t low, int32_t high)
{
    return value < low ? low : (value > high ? high : value);
}

// Moves `field` towards `source` by the smoothing coefficient unless it is
// already within the 0.01 dead band; true when it moved. With a long
// half-life the step can shrink below half the field's last place before
// the dead band is reached; the field would then rest short of its source
// and count as moving on every sample, so it takes the source instead.
inline bool smoothTowards(float& field, float source, float coefficient)
{
    float d = source - field;
    if (std::fabs(d) > 0.01f) {
        const float next = field + d * coefficient;
        field = next != field ? next : source;
        return true;
    }
    return false;
}

// Stages a channel passes at a filter depth (a damaged record may hold any).
inline int stagesAtDepth(int32_t depth)
{
    return depth <= 0 ? 1 : (depth >= 2 ? 3 : 2);
}

const float kLfoMeasures[9] = {0.25f,       1.0f / 3.0f, 0.5f,        2.0f / 3.0f, 1.0f,
                               4.0f / 3.0f, 2.0f,        8.0f / 3.0f, 4.0f};
} // namespace

SynthEngine::SynthEngine(SynthSettings& engineSettings)
    : settings(engineSettings), filter(0.48), clipLeft(engineSettings.driveGain),
      clipRight(engineSettings.driveGain)
{
    settings.tables = &tables;
    for (Voice& v : voices) {
        v.settings = &settings;
        v.tables = &tables;
        v.sharedInputs = &voiceInputs;
    }
    static_assert(int32_t{kOscillators} <= int32_t{FlockState::kSize},
                  "every oscillator has a column");
    for (int32_t i = 0; i < kOscillators; ++i) {
        oscillators[i].bind(&flock, i);
        columnOwner[i] = &oscillators[i];
    }
    for (Oscillator& o : oscillators)
        o.randomise();
    std::memset(scratch, 0, sizeof scratch);
    resetDevices();
}

void SynthEngine::setSampleRate(double newRate)
{
    if (!(newRate > 0.0) || !std::isfinite(newRate))
        return;
    rate = newRate;
    period = 1.0 / newRate;
    rateF = static_cast<float>(newRate);
}

void SynthEngine::usePatch(Patch* program)
{
    patch = program;
    for (Voice& v : voices)
        v.usePatch(program);
}

// ---- Settings --------------------------------------------------------------

int32_t SynthEngine::patchOscillatorCount() const
{
    return clampInt(patch->oscillatorCount, 1, kOscillators);
}

bool SynthEngine::updateSteps()
{
    const Patch& p = *patch;
    bool changed = false;
    int32_t redistribution = clampInt(p.redistributionTime, 1, 4000);
    if (redistribution != settings.redistributionMs) {
        changed = true;
        settings.redistributionMs = redistribution;
        settings.fadeStep = static_cast<float>(period * 1000.0 / redistribution);
    }
    int32_t portamento = clampInt(p.portamentoTime, 1, 1000);
    if (portamento != settings.portamentoMs) {
        changed = true;
        settings.portamentoMs = portamento;
        settings.glideStep = static_cast<float>(period * 1000.0 / portamento);
    }
    // A half-life of 0 takes new values at once (2^-inf keeps nothing); a
    // negative one from a damaged record does the same instead of diverging.
    int32_t smoothing = clampInt(p.smoothingHalfLife, 0, 500);
    if (smoothing != settings.smoothingMs) {
        changed = true;
        settings.smoothingMs = smoothing;
        settings.smoothKeep =
            smoothing > 0 ? static_cast<float>(std::pow(2.0, -1000.0 / (44100.0 * smoothing)))
                          : 0.0f;
        settings.smoothCoef = 1.0f - settings.smoothKeep;
    }
    return changed;
}

void SynthEngine::updateLfoStep()
{
    if (!patch)
        return;
    int32_t measure = patch->lfoMeasure;
    float m = (measure >= 0 && measure <= 8) ? kLfoMeasures[measure] : 1.0f;
    settings.lfoStep =
        static_cast<float>(patch->localBpm * period * 136.53333333333362 * static_cast<double>(m));
}

void SynthEngine::updateAttractStep()
{
    int64_t product = static_cast<int64_t>(settings.liveCount) * patch->attract;
    settings.attractStep = static_cast<float>(static_cast<double>(product) * period * 0.03);
}

void SynthEngine::updateRepelStep()
{
    int64_t product = static_cast<int64_t>(settings.liveCount) * patch->repel;
    settings.repelStep = static_cast<float>(static_cast<double>(product) * period * 0.01);
}

void SynthEngine::updateLfoDepth()
{
    const int32_t depth = clampInt(patch->lfoDepth, 0, 100);
    settings.lfoDepth = static_cast<float>(depth * static_cast<double>(0.01f));
    settings.lfoRest = 1.0f - settings.lfoDepth;
}

void SynthEngine::updateProximityRadius()
{
    settings.proximityRadius = static_cast<float>(patch->proximity * static_cast<double>(0.005f));
}

void SynthEngine::updateReflectionFactor()
{
    // Beyond 0..100 the factor would overflow towards infinity.
    const int32_t reflection = clampInt(patch->reflection, 0, 100);
    settings.reflectionFactor = std::pow(2.0, (reflection - 50) * 0.1);
}

void SynthEngine::loadSettings()
{
    const Patch& p = *patch;
    settings.redistributionMs = settings.portamentoMs = settings.smoothingMs = -1;
    updateSteps();
    updateLfoDepth();
    updateLfoStep();
    updateAttractStep();
    updateRepelStep();
    updateProximityRadius();
    updateReflectionFactor();
    settings.phaseCorrelation = p.phaseCorrelation != 0;
    settings.reseedMode = p.reseedMode;
    settings.pitchBend = 0.0f;
    settings.pitchBendTarget = 0.0f;
}

SynthEngine::SmoothingInputs SynthEngine::smoothingInputs() const
{
    const Patch& p = *patch;
    const SynthSettings& s = settings;
    return {{p.volumeHome, p.panHome, p.resonanceHome, p.noiseHome, p.volumeRange, p.pitchRange,
             p.panRange, p.resonanceRange, p.noiseRange, p.filterQ, p.lowpassCutoff, p.overdrive,
             p.speed, p.filterDepth, p.redistributionTime, p.portamentoTime, p.smoothingHalfLife},
            {s.volume, s.panHome, s.resonanceHome, s.noiseHome, s.volumeRange, s.pitchRange,
             s.panRange, s.resonanceRange, s.noiseRange, s.filterQParam, s.cutoffNote, s.driveParam,
             s.pitchBend, s.pitchBendTarget, s.smoothCoef},
            {s.speedApplied, s.filterDepth, s.redistributionMs, s.portamentoMs, s.smoothingMs}};
}

bool SynthEngine::smoothSettings()
{
    // A smoothing that moved nothing moves nothing again while every value
    // it reads keeps its bits: it would only compare the same numbers.
    const SmoothingInputs before = smoothingInputs();
    if (settingsResting && std::memcmp(&before, &restingInputs, sizeof before) == 0) {
        settingsMoved = false;
        return false;
    }

    const Patch& p = *patch;
    const float k = settings.smoothCoef;
    bool filterChanged = false;
    // Held to their ranges: a stored record may carry any value, and the
    // master volume in particular must never exceed 100 percent.
    auto percent = [](int32_t v) { return static_cast<float>(clampInt(v, 0, 100)); };
    bool moved = smoothTowards(settings.volume, percent(p.volumeHome), k);
    moved |= smoothTowards(settings.panHome, static_cast<float>(clampInt(p.panHome, -100, 100)), k);
    moved |= smoothTowards(settings.resonanceHome, percent(p.resonanceHome), k);
    moved |= smoothTowards(settings.noiseHome, percent(p.noiseHome), k);
    moved |= smoothTowards(settings.volumeRange, percent(p.volumeRange), k);
    moved |= smoothTowards(settings.pitchRange, percent(p.pitchRange), k);
    moved |= smoothTowards(settings.panRange, percent(p.panRange), k);
    moved |= smoothTowards(settings.resonanceRange, percent(p.resonanceRange), k);
    moved |= smoothTowards(settings.noiseRange, percent(p.noiseRange), k);

    // The filter's inputs are held to their ranges: beyond them a stored
    // record could ask for an undamped (unstable) or nonsensical design.
    // A change is reported whenever an input moved; renderSpan designs anew
    // only when the cutoff or Q came out different from the last design.
    if (smoothTowards(settings.filterQParam, static_cast<float>(clampInt(p.filterQ, 0, 100)), k)) {
        switch (p.filterDepth) {
        case 0:
            settings.filterQ = 1.0f + settings.filterQParam * 0.05f;
            break;
        case 1:
            settings.filterQ = 1.0f + settings.filterQParam * 0.02f;
            break;
        case 2:
            settings.filterQ = 1.0f + settings.filterQParam * 0.015f;
            break;
        default:
            break;
        }
        filterChanged = true;
    }
    float cutoff = static_cast<float>(clampInt(p.lowpassCutoff, 0, 128));
    if (smoothTowards(settings.cutoffNote, cutoff, k)) {
        settings.cutoffHz = static_cast<float>(2.0 * tables.frequency(settings.cutoffNote));
        filterChanged = true;
    }
    if (smoothTowards(settings.driveParam, static_cast<float>(clampInt(p.overdrive, 0, 100)), k)) {
        settings.driveGain = settings.driveParam * 0.2f + 1.0f;
        moved = true;
    }
    if (p.speed != settings.speedApplied) {
        settings.speedApplied = p.speed;
        settings.speedScale = static_cast<float>(p.speed);
        moved = true;
    }
    if (settings.filterDepth != p.filterDepth) {
        // Stages that leave use forget their history: left behind, it would
        // keep the settled-tail rule from ever clearing the filter, and a
        // later depth would resume from a stale state.
        const int before = stagesAtDepth(settings.filterDepth);
        for (int stage = stagesAtDepth(p.filterDepth); stage < before; ++stage) {
            filter.clearSlot(stage);
            filter.clearSlot(3 + stage);
        }
        settings.filterDepth = p.filterDepth;
        filterChanged = true;
    }
    moved |= updateSteps();
    moved |= smoothTowards(settings.pitchBend, settings.pitchBendTarget, k);
    settingsMoved = moved || filterChanged;
    settingsResting = !settingsMoved;
    if (settingsResting)
        restingInputs = before; // nothing was written
    // requestedCount already holds the count that checkOscillatorCount read
    // this sample; reading the field again could take a change the UI thread
    // made in between without the oscillators that go with it.
    return filterChanged;
}

void SynthEngine::applySpeedSpread()
{
    if (!patch)
        return;
    const int32_t n = patchOscillatorCount();
    const float s = static_cast<float>(patch->stdDev);
    const float samplePeriod = static_cast<float>(period);
    if (n == 1) {
        oscillators[0].speedFactor() = samplePeriod;
    } else if (s <= 50.0f) {
        float f = s * 0.02f;
        float spacing = 2.0f * f / static_cast<float>(n - 1);
        for (int32_t i = 0; i < n; ++i)
            oscillators[i].speedFactor() =
                (static_cast<float>(i) * spacing + (1.0f - f)) * samplePeriod;
    } else {
        float f = (s - 50.0f) * 0.04f;
        float spacing = 2.0f / static_cast<float>(n - 1);
        for (int32_t i = 0; i < n - 1; ++i)
            oscillators[i].speedFactor() =
                std::fmax(0.0f, static_cast<float>(i) * spacing - f) * samplePeriod;
        oscillators[n - 1].speedFactor() = (f + 2.0f) * samplePeriod;
    }
}

// ---- Voices and the pool -----------------------------------------------------

void SynthEngine::reset()
{
    queue.clear();
    redistributeIndex = 0;
    steerIndex = 0;
    filter.designLowPass(5000.0, 1.0, rate);
    designedHz = 5000.0f;
    designedQ = 1.0f;
    ++designCount;
    keyboard.clear();
    resetDevices();
    // Bring in the program's oscillators now rather than on the first sample:
    // a note due on that sample would otherwise find none, start at a count
    // of 0 and take a redistribution time per oscillator to reach its gain.
    if (patch)
        checkOscillatorCount();
}

void SynthEngine::resetDevices()
{
    activeVoices = releasingVoices = nullptr;
    for (int i = 0; i < kVoices; ++i)
        voices[i].next = i + 1 < kVoices ? &voices[i + 1] : nullptr;
    freeVoices = &voices[0];
    activeCount = releasingCount = 0;
    freeCount = kVoices;
    for (Oscillator& o : oscillators)
        o.assignVoice(nullptr, false, settings);
    for (Voice& v : voices)
        v.oscCount = 0;
    // Oscillators that were fading out above the requested count have just
    // lost their voices, so their fades will never end: they go now.
    trimLiveCount();
    if (listener)
        listener->engineDevicesReset();
}

Voice* SynthEngine::unlink(Voice*& list, Voice* voice)
{
    for (Voice** link = &list; *link; link = &(*link)->next) {
        if (*link == voice) {
            *link = voice->next;
            voice->next = nullptr;
            return voice;
        }
    }
    return nullptr;
}

void SynthEngine::shareOnNoteOn(Voice* voice)
{
    const int32_t n = settings.requestedCount;
    const int32_t a = activeCount;
    if (redistributeIndex >= n || redistributeIndex < 0)
        redistributeIndex = 0;
    if (a == 1) {
        for (int32_t i = 0; i < n; ++i)
            oscillators[i].assignVoice(voice, false, settings);
        return;
    }
    const int32_t quota = n / a + (n % a ? 1 : 0);
    int32_t q = quota;
    for (int32_t i = 0; i < n && q > 0; ++i) {
        if (oscillators[i].voiceState() == Voice::kRelease) {
            oscillators[i].assignVoice(voice, false, settings);
            --q;
        }
    }
    for (int32_t t = 0; t < n && q > 0; ++t) {
        Oscillator& o = oscillators[redistributeIndex];
        if (o.voice && o.voice->oscCount >= quota) {
            o.assignVoice(voice, false, settings);
            --q;
        }
        if (++redistributeIndex >= n)
            redistributeIndex = 0;
    }
    for (int32_t t = 0; t < n && q > 0; ++t) {
        Oscillator& o = oscillators[redistributeIndex];
        if (o.voice != voice) {
            o.assignVoice(voice, false, settings);
            --q;
        }
        if (++redistributeIndex >= n)
            redistributeIndex = 0;
    }
}

void SynthEngine::rehomeOrphans()
{
    if (activeVoices) {
        Voice* walk = activeVoices;
        for (int32_t i = settings.requestedCount - 1; i >= 0; --i) {
            if (oscillators[i].sounding())
                continue;
            oscillators[i].assignVoice(walk, true, settings);
            walk = walk->next ? walk->next : activeVoices;
        }
    } else {
        for (int32_t i = settings.liveCount - 1; i >= 0; --i)
            if (!oscillators[i].sounding())
                oscillators[i].assignVoice(nullptr, false, settings);
    }
    trimLiveCount();
}

void SynthEngine::dropOscillator(Oscillator& o)
{
    o.fadeDirection = 0;
    if (o.voice)
        o.assignVoice(nullptr, false, settings);
    o.removed = true;
}

void SynthEngine::trimLiveCount()
{
    int32_t live = settings.liveCount;
    while (live > settings.requestedCount && live > 0) {
        Oscillator& top = oscillators[live - 1];
        if (top.fadeDirection == -1 && top.sounding())
            break;
        dropOscillator(top);
        --live;
    }
    if (live == settings.liveCount)
        return;
    settings.liveCount = live;
    // The steering steps scale with the number of oscillators taking part.
    if (patch) {
        updateAttractStep();
        updateRepelStep();
    }
}

void SynthEngine::checkOscillatorCount()
{
    const int32_t c = patchOscillatorCount();
    if (settings.requestedCount < c) {
        for (int32_t i = settings.requestedCount < 0 ? 0 : settings.requestedCount; i < c; ++i) {
            oscillators[i].removed = false;
            oscillators[i].fadeDirection = 0;
            oscillators[i].assignVoice(nullptr, false, settings);
        }
        // Oscillators above the new count that were still fading out leave
        // their voices now: beyond liveCount they would never step again,
        // yet keep counting in their voice's gain.
        for (int32_t i = c; i < settings.liveCount && i < kOscillators; ++i) {
            oscillators[i].fadeDirection = 0;
            if (oscillators[i].voice)
                oscillators[i].assignVoice(nullptr, true, settings);
        }
        settings.requestedCount = settings.liveCount = c;
        // The steering steps scale with the number of oscillators taking part.
        updateAttractStep();
        updateRepelStep();
        rehomeOrphans();
    } else if (c < settings.requestedCount) {
        // Surplus oscillators that sound fade out over the redistribution
        // time; those without a sounding voice have nothing to fade and
        // would never step to the end of a fade, so they leave at once.
        for (int32_t i = c; i < settings.requestedCount; ++i) {
            Oscillator& o = oscillators[i];
            if (o.sounding()) {
                o.fadeDirection = -1;
                o.fadeLevel = 1.0f;
            } else {
                dropOscillator(o);
            }
        }
        settings.requestedCount = c;
        trimLiveCount();
    }
}

void SynthEngine::releaseVoice(Voice* voice)
{
    voice->release(rateF);
    unlink(activeVoices, voice);
    voice->next = releasingVoices;
    releasingVoices = voice;
    --activeCount;
    ++releasingCount;
}

void SynthEngine::noteOn(int32_t note, int32_t velocity)
{
    if (!patch->polyphonic)
        while (activeVoices)
            noteOff(activeVoices->note);
    if (!freeVoices && releasingVoices) {
        Voice* stolen = releasingVoices;
        releasingVoices = stolen->next;
        stolen->next = freeVoices;
        freeVoices = stolen;
        --releasingCount;
        ++freeCount;
    }
    if (patch->reseedMode == 2) {
        uint32_t seed = static_cast<uint32_t>(patch->seed);
        if (patch->seedOnPitch)
            seed += static_cast<uint32_t>(note);
        if (patch->seedOnVolume)
            seed += static_cast<uint32_t>(velocity);
        seedRandom(seed);
        steerIndex = 0;
    }
    if (!freeVoices)
        return;
    Voice* voice = freeVoices;
    freeVoices = voice->next;
    voice->next = activeVoices;
    activeVoices = voice;
    --freeCount;
    ++activeCount;
    shareOnNoteOn(voice);
    voice->noteOn(note, velocity, rateF);
    if (listener)
        listener->engineNoteShown(note, true);
}

void SynthEngine::noteOff(int32_t note)
{
    for (Voice* v = activeVoices; v; v = v->next) {
        if (v->note == note) {
            releaseVoice(v);
            break;
        }
    }
    if (listener)
        listener->engineNoteShown(note, false);
}

// ---- Events ------------------------------------------------------------------

void SynthEngine::queueEvents(const VstEvents* events)
{
    queue.fill(events);
}

void SynthEngine::dispatch(const VstMidiEvent& event)
{
    const int status = static_cast<unsigned char>(event.midiData[0]) & 0xF0;
    const int32_t data1 = static_cast<signed char>(event.midiData[1]);
    const int32_t data2 = static_cast<signed char>(event.midiData[2]);
    switch (status) {
    case 0x80:
        noteOff(data1);
        break;
    case 0x90:
        if (data2 > 0)
            noteOn(data1, data2);
        else if (data2 == 0)
            noteOff(data1);
        break;
    case 0xB0:
        if (data1 == 120 || data1 == 123) {
            resetDevices();
        } else {
            // A controller caught by MIDI learn drives its new parameter at
            // once; the UI thread writes the pair into the map.
            const int32_t learned = learn.capture(data1);
            const int32_t index = learned >= 0 ? learned : mappedParameter(*patch, data1);
            if (index >= 0 && listener)
                listener->engineSetParameter(index, static_cast<float>(data2) * 0.007874016f);
        }
        break;
    case 0xE0:
        settings.pitchBendTarget =
            static_cast<float>(patch->pitchBendRange) *
            (static_cast<float>(data2 * 128 + data1) * 0.00006103515625f - 0.5f) * 2.0f;
        break;
    default:
        break;
    }
}

// ---- Block start -------------------------------------------------------------

void SynthEngine::serveScreenNote(int32_t requested)
{
    if (requested == screenNotePlaying)
        return;
    if (screenNotePlaying >= 0)
        noteOff(screenNotePlaying);
    screenNotePlaying = requested;
    if (requested >= 0)
        noteOn(requested, ComputerKeyboard::kVelocity);
}

void SynthEngine::pollComputerKeys(ComputerKeyboard::KeyStateSource isDown)
{
    if (keyPollEnabled && patch->qwertyControl)
        keyboard.poll(isDown, *this);
    else
        keyboard.releaseAll(*this); // a key held as play stopped must not hang
}

void SynthEngine::updateMouseTarget()
{
    if (settings.mouseSteering == 0 || !listener)
        return;
    float axes[kAxisCount];
    if (!listener->enginePointerTarget(axes))
        return;
    for (int a = 0; a < kAxisCount; ++a) {
        int32_t dimension = patch->axisOrder[a];
        if (dimension >= 0 && dimension < kAxisCount)
            settings.mouseTarget[dimension] = axes[a];
    }
}

void SynthEngine::followHostTempo()
{
    if (!patch->syncToHost)
        return;
    double bpm = 0.0;
    if (!listener || !listener->engineHostTempo(bpm)) {
        patch->syncToHost = 0;
        return;
    }
    int32_t tempo = SynthTables::truncLimit(bpm + 0.5, 30, 250);
    if (tempo != patch->localBpm) {
        patch->localBpm = tempo;
        updateLfoStep();
        listener->engineTempoChanged();
    }
}

void SynthEngine::takeDisplaySnapshot()
{
    const float volume = settings.volume;
    for (int32_t i = settings.liveCount - 1; i >= 0; --i) {
        Oscillator& o = oscillators[i];
        if (!o.voice)
            continue;
        o.display[0] = o.value(0) * volume * 0.01f; // the amplitude as heard
        o.display[1] = o.value(1) / 128.0f;
        for (int d = 2; d < 5; ++d)
            o.display[d] = o.value(d);
    }
}

// ---- Rendering ---------------------------------------------------------------

void SynthEngine::process(float* left, float* right, int32_t frames, int32_t screenNoteRequest,
                          ComputerKeyboard::KeyStateSource keys)
{
    if (patch) {
        serveScreenNote(screenNoteRequest);
        pollComputerKeys(keys);
        updateMouseTarget();
        followHostTempo();
        takeDisplaySnapshot();
    }
    render(left, right, frames);
}

void SynthEngine::render(float* left, float* right, int32_t frames)
{
    if (frames <= 0)
        return;
    if (left)
        std::memset(left, 0, sizeof(float) * static_cast<size_t>(frames));
    if (right)
        std::memset(right, 0, sizeof(float) * static_cast<size_t>(frames));
    if (!patch)
        return;
    if (left && right) {
        renderSpan(left, right, 0, frames);
        return;
    }
    for (int32_t offset = 0; offset < frames; offset += kScratch) {
        int32_t count = frames - offset < kScratch ? frames - offset : kScratch;
        std::memset(scratch, 0, sizeof scratch);
        renderSpan(left ? left + offset : scratch[0], right ? right + offset : scratch[1], offset,
                   count);
    }
}

void SynthEngine::renderSpan(float* left, float* right, int32_t offset, int32_t frames)
{
    // Inside the processing entries the processor flushes denormals itself,
    // and the filter need not flush them again.
    softwareFlush = !LowPassCascade::hardwareFlushes();
    for (int32_t i = 0; i < frames; ++i) {
        while (const VstMidiEvent* event = queue.nextDue(offset + i))
            dispatch(*event);
        checkOscillatorCount();
        if (smoothSettings())
            designFilter();
        updateVoices();
        stepOscillators(left[i], right[i]);
        steerOne();
        outputStage(left[i], right[i]);
        // A quiet engine stays quiet, and its output silent, until the next
        // event: the samples up to it are skipped (the outputs hold zeros).
        // Program edits from the user interface are then taken over at the
        // next event or block rather than at the next sample.
        if (i + 1 < frames && quiet()) {
            const int32_t due = queue.nextFrame() - offset;
            if (due > i + 1)
                i = (due < frames ? due : frames) - 1;
        }
    }
}

// No voice sounds, the settings moved nothing this sample and the filter
// holds no history: every further sample would compute silence and change
// no state, until an event arrives or the program changes.
bool SynthEngine::quiet() const
{
    return !activeVoices && !releasingVoices && !settingsMoved && filter.isSilent();
}

void SynthEngine::updateVoices()
{
    if (activeVoices || releasingVoices)
        voiceInputs.refresh(settings, *patch);
    Voice** lists[2] = {&activeVoices, &releasingVoices};
    int32_t* counts[2] = {&activeCount, &releasingCount};
    for (int l = 0; l < 2; ++l) {
        Voice* v = *lists[l];
        while (v) {
            Voice* following = v->next;
            if (v->state == Voice::kFinished) {
                unlink(*lists[l], v);
                v->next = freeVoices;
                freeVoices = v;
                --*counts[l];
                ++freeCount;
                rehomeOrphans();
            } else {
                v->computeSoundState(rateF);
            }
            v = following;
        }
    }
}

// Designs the filter when the smoothed cutoff or Q differs from the last
// design: a field can move without changing either value.
void SynthEngine::designFilter()
{
    if (settings.cutoffHz == designedHz && settings.filterQ == designedQ)
        return;
    filter.designLowPass(settings.cutoffHz, settings.filterQ, rate);
    designedHz = settings.cutoffHz;
    designedQ = settings.filterQ;
    ++designCount;
}

void SynthEngine::regroupColumns()
{
    const int32_t live = settings.liveCount < kOscillators ? settings.liveCount : kOscillators;
    int32_t order[kOscillators]; // oscillators in their new column order
    int32_t n = 0;
    for (const Voice& v : voices)
        for (int32_t i = 0; i < live; ++i)
            if (oscillators[i].voice == &v)
                order[n++] = i;
    for (int32_t i = 0; i < kOscillators; ++i)
        if (i >= live || !oscillators[i].voice)
            order[n++] = i;
    int32_t source[kOscillators];
    for (int32_t c = 0; c < kOscillators; ++c)
        source[c] = oscillators[order[c]].column();
    flock.permute(source, regroupScratch);
    for (int32_t c = 0; c < kOscillators; ++c) {
        oscillators[order[c]].bind(&flock, c);
        columnOwner[c] = &oscillators[order[c]];
        voiceOf[c] = -1; // columns of oscillators beyond the live ones
    }
    flock.regroup = false;
    groupedLive = live;
}

void SynthEngine::stepOscillators(float& left, float& right)
{
    // Plain oscillators (a sounding voice, no fade, no glide) step in groups
    // of neighbouring columns in the flock kernel; the others step one by
    // one first. The live oscillators hold the first columns, grouped by
    // voice so that a group mostly shares one (regrouped when a voice or the
    // live count changed). No step reads another oscillator, so the order
    // does not matter to their state; their samples are then summed from
    // the top oscillator down, in a register, exactly as one loop over them
    // would sum them.
    const int32_t live = settings.liveCount < kOscillators ? settings.liveCount : kOscillators;
    // Only a change of voice (which also marks the oscillator changed for
    // the view) or a fade that ended leaves work for after the sum.
    bool upkeep = flock.regroup || live != groupedLive;
    if (upkeep)
        regroupColumns();
    for (int32_t i = live - 1; i >= 0; --i) {
        Oscillator& o = oscillators[i];
        const int32_t c = o.column();
        if (FlockKernel::plain(o)) {
            voiceOf[c] = static_cast<int8_t>(o.voice - voices);
        } else {
            voiceOf[c] = -1;
            partLeft[c] = partRight[c] = -0.0f;
            o.step(settings, tables, period, partLeft[c], partRight[c]);
            upkeep = true;
        }
    }
    FlockKernel::step(columnOwner, flock, voiceOf, voices, live, settings, tables, period, partLeft,
                      partRight);

    // The sum; then fades that ended leave their voices, and the view
    // learns of changes, from the top down.
    float mixLeft = left, mixRight = right;
    if (!upkeep) {
        for (int32_t i = live - 1; i >= 0; --i) {
            const int32_t c = oscillators[i].column();
            mixLeft += partLeft[c];
            mixRight += partRight[c];
        }
        left = mixLeft;
        right = mixRight;
        return;
    }
    bool removal = false;
    for (int32_t i = live - 1; i >= 0; --i) {
        Oscillator& o = oscillators[i];
        mixLeft += partLeft[o.column()];
        mixRight += partRight[o.column()];
        if (o.removed && o.voice) {
            // Its voice's gain follows the smaller count (count smoothing).
            o.assignVoice(nullptr, true, settings);
            removal = true;
        }
        if (!o.removed && o.changed) {
            o.changed = false;
            if (listener)
                listener->engineOscillatorChanged(i);
        }
    }
    left = mixLeft;
    right = mixRight;
    // The live range ends below the highest oscillator still fading out.
    if (removal)
        trimLiveCount();
}

void SynthEngine::steerOne()
{
    if (freeCount >= kVoices)
        return;
    if (steerIndex < 0 || steerIndex >= kOscillators)
        steerIndex = 0;
    Oscillator& o = oscillators[steerIndex];
    if (o.voice)
        o.steer(oscillators, settings, tables);
    if (++steerIndex >= settings.liveCount)
        steerIndex = 0;
}

// With flush-to-zero on, a ringing tail can end in a limit cycle just above
// the smallest normal numbers instead of decaying to zero. Once the input is
// silent and every stage holds less than 1e-30 (600 dB down), the history is
// cleared, so silence is exact.
void SynthEngine::settleFilter(int stages)
{
    for (int slot = 0; slot < LowPassCascade::kSlots; ++slot) {
        if (slot % 3 >= stages)
            continue; // out of use, cleared when the depth changed
        const float* h = filter.slotHistory(slot);
        for (int i = 0; i < 4; ++i)
            if (h[i] != 0.0f && !(std::fabs(h[i]) < kSettled))
                return;
    }
    filter.clearHistory();
}

void SynthEngine::outputStage(float& left, float& right)
{
    float l = left, r = right;
    const int stages = stagesAtDepth(settings.filterDepth);
    const bool silentInput = l == 0.0f && r == 0.0f;
    filter.runStereo(stages, l, r, softwareFlush);
    if (silentInput && std::fabs(l) < kSettled && std::fabs(r) < kSettled)
        settleFilter(stages);
    l = clipLeft.shape(l);
    r = clipRight.shape(r);
    const float master = settings.volume * 0.01f;
    left = l * master;
    right = r * master;
}

// ---- Envelope edits ------------------------------------------------------------

namespace {
inline int envelopeSlot(int32_t index)
{
    if (index < 0)
        return -1;
    return index >= kSpeedEnv ? kSpeedEnv : index;
}
} // namespace

void SynthEngine::attackTimeChanged(int32_t envelope)
{
    int k = envelopeSlot(envelope);
    if (k >= 0)
        for (Voice* v = activeVoices; v; v = v->next) {
            v->envelopes[k].attackTimeChanged(rateF);
            v->wakeEnvelopes();
        }
}

void SynthEngine::decayTimeChanged(int32_t envelope)
{
    int k = envelopeSlot(envelope);
    if (k >= 0)
        for (Voice* v = activeVoices; v; v = v->next) {
            v->envelopes[k].decayTimeChanged(rateF);
            v->wakeEnvelopes();
        }
}

void SynthEngine::releaseTimeChanged(int32_t envelope)
{
    int k = envelopeSlot(envelope);
    if (k >= 0)
        for (Voice* v = releasingVoices; v; v = v->next) {
            v->envelopes[k].releaseTimeChanged(rateF);
            v->wakeEnvelopes();
        }
}

void SynthEngine::pointLevelChanged(int32_t envelope)
{
    int k = envelopeSlot(envelope);
    if (k < 0)
        return;
    for (Voice* v = activeVoices; v; v = v->next) {
        v->envelopes[k].pointLevelChanged();
        v->wakeEnvelopes();
    }
    for (Voice* v = releasingVoices; v; v = v->next) {
        v->envelopes[k].pointLevelChanged();
        v->wakeEnvelopes();
    }
}

void SynthEngine::lastAttackPointChanged(int32_t envelope)
{
    int k = envelopeSlot(envelope);
    if (k >= 0)
        for (Voice* v = activeVoices; v; v = v->next) {
            v->envelopes[k].lastPointChanged();
            v->wakeEnvelopes();
        }
}

void SynthEngine::sustainLevelChanged(int32_t envelope)
{
    int k = envelopeSlot(envelope);
    if (k >= 0)
        for (Voice* v = activeVoices; v; v = v->next) {
            v->envelopes[k].sustainLevelChanged();
            v->wakeEnvelopes();
        }
}

void SynthEngine::releaseLevelChanged(int32_t envelope)
{
    int k = envelopeSlot(envelope);
    if (k >= 0)
        for (Voice* v = releasingVoices; v; v = v->next) {
            v->envelopes[k].releaseLevelChanged();
            v->wakeEnvelopes();
        }
}
