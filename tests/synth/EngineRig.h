// A headless engine for tests: one SynthEngine on a new patch at 44100 Hz,
// with a listener that records what the engine reports and applies mapped
// controllers to the volume field, and "play these events, give me the
// buffer" helpers.
#pragma once

#include "MidiEventList.h"
#include "Patch.h"
#include "SynthEngine.h"

#include <cstring>
#include <vector>

struct MidiMessage {
    int32_t delta;
    unsigned char status, data1, data2;
};

class EngineRig : public SynthEngineListener {
public:
    explicit EngineRig(double rate = 44100.0) : engine(settings)
    {
        newPatch(patch);
        patch.syncToHost = 0;
        engine.setListener(this);
        engine.usePatch(&patch);
        engine.setSampleRate(rate);
        restart();
    }

    // The reset a plug-in performs at resume.
    void restart()
    {
        engine.loadSettings();
        engine.applySpeedSpread();
        engine.reset();
    }

    void send(const std::vector<MidiMessage>& messages)
    {
        MidiEventList list(messages.size());
        for (const MidiMessage& m : messages)
            list.add(m.delta, m.status, m.data1, m.data2);
        engine.queueEvents(list.events());
    }

    // Renders `frames` samples in one block and appends them.
    void render(int32_t frames)
    {
        std::vector<float> l(static_cast<size_t>(frames)), r(static_cast<size_t>(frames));
        engine.process(l.data(), r.data(), frames, screenNote, keySource);
        left.insert(left.end(), l.begin(), l.end());
        right.insert(right.end(), r.begin(), r.end());
    }
    void play(const std::vector<MidiMessage>& messages, int32_t frames)
    {
        send(messages);
        render(frames);
    }

    int32_t oscillatorsOf(const Voice* v) const
    {
        int32_t n = 0;
        for (const Oscillator& o : engine.oscillators)
            if (o.voice == v)
                ++n;
        return n;
    }

    void engineSetParameter(int32_t index, float value) override
    {
        parameterChanges.push_back({index, value});
        if (index == 0)
            patch.volumeHome = static_cast<int32_t>(value * 100.0 + 0.5);
    }
    void engineNoteShown(int32_t note, bool down) override
    {
        shownNotes.push_back(down ? note : -1 - note);
    }
    void engineDevicesReset() override { ++devicesResets; }
    bool engineHostTempo(double& bpm) override
    {
        if (hostTempo <= 0.0)
            return false;
        bpm = hostTempo;
        return true;
    }
    void engineTempoChanged() override { ++tempoChanges; }
    void engineOscillatorChanged(int32_t index) override { changedOscillators.push_back(index); }

    struct Change {
        int32_t index;
        float value;
    };

    SynthSettings settings;
    SynthEngine engine;
    Patch patch;
    std::vector<float> left, right;
    int32_t screenNote = -1;
    ComputerKeyboard::KeyStateSource keySource = nullptr;
    std::vector<Change> parameterChanges;
    std::vector<int32_t> shownNotes;
    int devicesResets = 0;
    double hostTempo = 0.0;
    int tempoChanges = 0;
    std::vector<int32_t> changedOscillators;
};
