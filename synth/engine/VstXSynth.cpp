#include "VstXSynth.h"

#include "ParameterTable.h"
#include "RandomPatch.h"
#include "SynthPlatform.h"

#include <cmath>
#include <cstdio>
#include <cstring>

VstXSynth::VstXSynth(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams)
{
    if (audioMaster) {
        setNumInputs(0);
        setNumOutputs(2);
        canProcessReplacing(true);
        hasVu(false);
        hasClip(false);
        isSynth(true);
        programsAreChunks(true);
        setUniqueID(kUniqueId);
    }

    // Engine: the tables come first (their noise draws reseed the generator),
    // then the voices and the oscillators, randomised from the continuing
    // sequence.
    engine.setListener(this);

    for (int i = 0; i < kNumPrograms; ++i) {
        newPatch(programs[i]);
        std::snprintf(programs[i].name, sizeof programs[i].name, "new patch #%i", i + 1);
    }
    useCurrentProgram();

    applySpeedSpread();
    screenNoteRequested = -1;
    screenNotePlaying = -1;

    suspended = true;
    resetDevices();

    synthEditor = createSynthEditor(this, this);
    editor = synthEditor;
    setFlag(effFlagsHasEditor, editor != nullptr);
}

VstXSynth::~VstXSynth()
{
    // The editor goes first, while everything it may reach still exists.
    delete editor;
    editor = nullptr;
    synthEditor = nullptr;
}

// ---- Processing ------------------------------------------------------------

void VstXSynth::process(float**, float** outputs, VstInt32 sampleFrames)
{
    processBlock(outputs, sampleFrames);
}

void VstXSynth::processReplacing(float**, float** outputs, VstInt32 sampleFrames)
{
    processBlock(outputs, sampleFrames);
}

void VstXSynth::processBlock(float** outputs, VstInt32 frames)
{
    if (suspended)
        resume();
    settings.mouseSteering = mouseSteering;
    // The computer keyboard plays only while the editor's window is open.
    engine.keyPollEnabled = synthEditor && synthEditor->isWindowOpen();
    if (computerKeysReleaseRequested.exchange(false))
        engine.releaseComputerKeys();
    // Every call serves the block-start inputs (mouse note, computer keys,
    // mouse target, host tempo, display snapshot), also one of 0 frames:
    // some hosts flush with those.
    renderBlock(outputs, frames);
    processedSinceRedraw = true;
}

VstInt32 VstXSynth::processEvents(VstEvents* events)
{
    if (events)
        queueEvents(events);
    return 1;
}

void VstXSynth::renderBlock(float** outputs, VstInt32 frames)
{
    if (!outputs)
        frames = 0; // nowhere to write: the block-start inputs only
    engine.process(outputs ? outputs[0] : nullptr, outputs ? outputs[1] : nullptr, frames,
                   screenNoteRequested.load(std::memory_order_relaxed), isKeyDown);
}

void VstXSynth::queueEvents(VstEvents* events)
{
    engine.queueEvents(events);
}

// ---- Lifecycle -------------------------------------------------------------

void VstXSynth::setSampleRate(float newRate)
{
    sampleRate = newRate;
}

void VstXSynth::setBlockSize(VstInt32 newSize)
{
    blockSize = newSize;
}

void VstXSynth::suspend()
{
    suspended = true;
    resetDevices();
}

void VstXSynth::resume()
{
    wantEvents(1);
    reset();
    suspended = false;
}

void VstXSynth::reset()
{
    // A rate of zero, below or not a number keeps the previous one.
    engine.setSampleRate(sampleRate);
    loadProgramIntoSettings();
    applySpeedSpread();
    mouseSteering = 0;
    engine.reset(); // queue, rotating indices, filter, computer keys, devices
}

// Takes over the program's times, LFO, steering, reflection, phase
// correlation and reseed mode; the smoothed fields follow on their own.
void VstXSynth::loadProgramIntoSettings()
{
    engine.loadSettings();
}

// ---- Engine hooks filled in by the engine ------------------------------------

void VstXSynth::resetDevices()
{
    engine.resetDevices();
}

void VstXSynth::applySpeedSpread()
{
    engine.applySpeedSpread();
}

void VstXSynth::useCurrentProgram()
{
    engine.usePatch(&programs[curProgram]);
}

Oscillator* VstXSynth::getOscillators()
{
    return engine.oscillators;
}

SynthTables* VstXSynth::getTables()
{
    return &engine.tables;
}

void VstXSynth::attackTimeChanged(int32_t envelope)
{
    engine.attackTimeChanged(envelope);
}
void VstXSynth::decayTimeChanged(int32_t envelope)
{
    engine.decayTimeChanged(envelope);
}
void VstXSynth::releaseTimeChanged(int32_t envelope)
{
    engine.releaseTimeChanged(envelope);
}
void VstXSynth::pointLevelChanged(int32_t envelope)
{
    engine.pointLevelChanged(envelope);
}
void VstXSynth::lastAttackPointChanged(int32_t envelope)
{
    engine.lastAttackPointChanged(envelope);
}
void VstXSynth::sustainLevelChanged(int32_t envelope)
{
    engine.sustainLevelChanged(envelope);
}
void VstXSynth::releaseLevelChanged(int32_t envelope)
{
    engine.releaseLevelChanged(envelope);
}

// UI thread (editor close, the computer-keyboard option switched off).
void VstXSynth::releaseComputerKeys()
{
    computerKeysReleaseRequested.store(true);
}

void VstXSynth::updateLfoRate()
{
    engine.updateLfoStep();
}

void VstXSynth::updateFlockingSteps()
{
    engine.updateAttractStep();
    engine.updateRepelStep();
}

// ---- What the engine asks while it renders (audio thread) ----------------------

void VstXSynth::engineSetParameter(int32_t index, float value)
{
    setParameter(index, value);
}

void VstXSynth::engineNoteShown(int32_t note, bool down)
{
    if (!synthEditor)
        return;
    if (down)
        synthEditor->showNoteOn(note);
    else
        synthEditor->showNoteOff(note);
}

void VstXSynth::engineDevicesReset()
{
    clearKeyboardDisplay();
}

bool VstXSynth::engineHostTempo(double& bpm)
{
    const VstTimeInfo* info = getTimeInfo(kVstTempoValid);
    if (!info || !(info->flags & kVstTempoValid))
        return false;
    bpm = info->tempo;
    return true;
}

// The hyperspace view's trail of an oscillator that changed voice starts
// afresh; the view only stores a restart point.
void VstXSynth::engineOscillatorChanged(int32_t index)
{
    if (synthEditor)
        synthEditor->resetTrail(index);
}

// The hyperspace cursor's place on the view's five axes, for mouse steering.
bool VstXSynth::enginePointerTarget(float* axes)
{
    if (!synthEditor)
        return false;
    for (int32_t slot = 0; slot < kAxisCount; ++slot)
        axes[slot] = synthEditor->cursorCoordinate(slot);
    return true;
}

// Only the speed LFO dialog's BPM field shows the tempo; a full refresh
// here would close the option dialogs at every tempo change.
void VstXSynth::engineTempoChanged()
{
    if (synthEditor)
        synthEditor->requestSpeedLfoRefresh();
}

// ---- Editor ----------------------------------------------------------------

// Each may run on the audio thread (MIDI control, device resets, tempo);
// the editor only stores and raises flags there.
void VstXSynth::requestHyperspaceRedraw()
{
    if (synthEditor)
        synthEditor->requestHyperspaceRepaint();
}

void VstXSynth::clearKeyboardDisplay()
{
    if (synthEditor)
        synthEditor->clearKeyboardDisplay();
}

void VstXSynth::editorParameterChanged(VstInt32 index)
{
    if (synthEditor)
        synthEditor->SetParameter(index, &programs[curProgram]);
}

void VstXSynth::editorRefresh()
{
    if (synthEditor)
        synthEditor->requestFullRefresh();
}

// ---- Identity --------------------------------------------------------------

bool VstXSynth::getOutputProperties(VstInt32 index, VstPinProperties* properties)
{
    if (index < 0 || index > 1 || !properties)
        return false;
    std::snprintf(properties->label, sizeof properties->label, "Vstx %1d", index + 1);
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

bool VstXSynth::getEffectName(char* name)
{
    vstStrncpy(name, "Nimbulator", 32);
    return true;
}

bool VstXSynth::getProductString(char* text)
{
    vstStrncpy(text, "Nimbulator", 64);
    return true;
}

bool VstXSynth::getVendorString(char* text)
{
    vstStrncpy(text, "Orvalend", 64);
    return true;
}

VstInt32 VstXSynth::canDo(char* text)
{
    static const char* const abilities[] = {"receiveVstEvents", "receiveVstMidiEvent",
                                            "receiveVstTimeInfo"};
    for (const char* ability : abilities)
        if (std::strcmp(text, ability) == 0)
            return 1;
    return 0;
}

// ---- Parameters (table-driven) ---------------------------------------------

// The longest value text: any 32-bit integer, and the millisecond texts of
// every time up to a few hours.
static const size_t kDisplayTextSize = 16;

void VstXSynth::setParameter(VstInt32 index, float value)
{
    const ParameterInfo* info = findParameter(index);
    if (!info) {
        // May run on the audio thread: the message waits for the UI thread.
        badParameterIndex.store(true, std::memory_order_relaxed);
        editorParameterChanged(index);
        return;
    }
    storeParameter(programs[curProgram], *info, value);
    applyParameterChange(*info);
    editorParameterChanged(index);
}

void VstXSynth::applyParameterChange(const ParameterInfo& info)
{
    switch (info.change) {
    case ParameterChange::None:
        break;
    case ParameterChange::LfoDepth:
        engine.updateLfoDepth();
        break;
    case ParameterChange::SpeedSpread:
        applySpeedSpread();
        break;
    case ParameterChange::Reflection:
        engine.updateReflectionFactor();
        break;
    case ParameterChange::Attraction:
        engine.updateAttractStep();
        break;
    case ParameterChange::Repulsion:
        engine.updateRepelStep();
        break;
    case ParameterChange::Proximity:
        engine.updateProximityRadius();
        break;
    case ParameterChange::OscillatorCount:
        applySpeedSpread();
        engine.updateAttractStep();
        engine.updateRepelStep();
        break;
    case ParameterChange::Envelope: {
        const int32_t envelope = info.field.envelope;
        switch (info.field.stage) {
        case EnvelopeStage::AttackTime:
            attackTimeChanged(envelope);
            break;
        case EnvelopeStage::DecayTime:
            decayTimeChanged(envelope);
            break;
        case EnvelopeStage::ReleaseTime:
            releaseTimeChanged(envelope);
            break;
        case EnvelopeStage::Range:
            pointLevelChanged(envelope);
            break;
        case EnvelopeStage::AttackLevel:
            lastAttackPointChanged(envelope);
            break;
        case EnvelopeStage::DecayLevel:
            sustainLevelChanged(envelope);
            break;
        case EnvelopeStage::ReleaseLevel:
            releaseLevelChanged(envelope);
            break;
        case EnvelopeStage::None:
        case EnvelopeStage::InitialLevel:
            break;
        }
        break;
    }
    }
}

float VstXSynth::getParameter(VstInt32 index)
{
    const ParameterInfo* info = findParameter(index);
    return info ? readParameter(programs[curProgram], *info) : 0.0f;
}

void VstXSynth::getParameterLabel(VstInt32 index, char* label)
{
    const ParameterInfo* info = findParameter(index);
    if (!info) {
        showMessage("VstXSynth::getParameterLabel");
        return;
    }
    if (label)
        vstStrncpy(label, info->label, kDisplayTextSize);
}

void VstXSynth::getParameterDisplay(VstInt32 index, char* text)
{
    const ParameterInfo* info = findParameter(index);
    if (!info) {
        showMessage("VstXSynth::getParameterDisplay");
        return;
    }
    if (!text)
        return;
    if (info->display == ParameterDisplay::Decibel)
        dB2string(decibelGain(programs[curProgram], *info), text);
    else
        formatParameterValue(programs[curProgram], *info, text, kDisplayTextSize);
}

void VstXSynth::getParameterName(VstInt32 index, char* text)
{
    getParameterShortName(index, text);
}

void VstXSynth::getParameterShortName(int32_t index, char* text)
{
    const ParameterInfo* info = findParameter(index);
    if (!info) {
        showMessage("VstXSynth::GetParameterName");
        return;
    }
    if (text)
        std::strcpy(text, info->shortName);
}

void VstXSynth::getParameterLongName(int32_t index, char* text)
{
    const ParameterInfo* info = findParameter(index);
    if (!info) {
        showMessage("VstXSynth::GetParameterName");
        return;
    }
    if (text)
        std::strcpy(text, info->longName);
}

VstIntPtr VstXSynth::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt)
{
    // Event delivery comes on the audio thread; every other opcode on the
    // host's UI thread, where a pending message may be shown.
    if (opcode != effProcessEvents && badParameterIndex.exchange(false))
        showMessage("VstXSynth::setParameter");
    return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
}

void VstXSynth::setControlValue(int32_t id, int32_t value)
{
    static const struct {
        int32_t id;
        int32_t Patch::*field;
    } controls[] = {
        {1022, &Patch::volumeHome},     {1031, &Patch::panHome},    {1032, &Patch::resonanceHome},
        {1033, &Patch::resonanceRange}, {1034, &Patch::panRange},   {1035, &Patch::pitchRange},
        {1036, &Patch::volumeRange},    {1037, &Patch::coarseTune}, {1038, &Patch::fineTune},
        {1039, &Patch::noiseHome},      {1040, &Patch::noiseRange}, {1041, &Patch::filterQ},
        {1042, &Patch::lowpassCutoff},  {1043, &Patch::speed},      {1044, &Patch::stdDev},
        {1046, &Patch::attract},        {1047, &Patch::repel},      {1048, &Patch::proximity},
        {1049, &Patch::reflection},     {1050, &Patch::overdrive},  {1051, &Patch::lfoDepth},
    };
    for (const auto& control : controls) {
        if (control.id != id)
            continue;
        programs[curProgram].*control.field = value;
        switch (id) {
        case 1044:
            applySpeedSpread();
            break;
        case 1046:
            engine.updateAttractStep();
            break;
        case 1047:
            engine.updateRepelStep();
            break;
        case 1048:
            engine.updateProximityRadius();
            break;
        case 1049:
            engine.updateReflectionFactor();
            break;
        case 1051:
            engine.updateLfoDepth();
            break;
        default:
            break;
        }
        return;
    }
}

// ---- Programs and chunk ----------------------------------------------------

void VstXSynth::setProgram(VstInt32 program)
{
    if (program == curProgram || program < 0 || program >= kNumPrograms)
        return;
    curProgram = program;
    useCurrentProgram();
    applySpeedSpread();
    resetDevices();
    loadProgramIntoSettings();
    // As resume does: a note at the start of the next block is then shared
    // out with the new program's number of oscillators.
    engine.checkOscillatorCount();
    editorRefresh();
}

void VstXSynth::setProgramName(char* name)
{
    if (name)
        vstStrncpy(programs[curProgram].name, name, kPatchNameSize);
}

void VstXSynth::getProgramName(char* name)
{
    if (name)
        vstStrncpy(name, programs[curProgram].name, kPatchNameSize);
}

bool VstXSynth::getProgramNameIndexed(VstInt32, VstInt32 index, char* text)
{
    if (index < 0 || index >= kNumPrograms || !text)
        return false;
    vstStrncpy(text, programs[index].name, kPatchNameSize);
    return true;
}

bool VstXSynth::copyProgram(VstInt32 destination)
{
    if (destination < 0 || destination >= kNumPrograms)
        return false;
    if (destination != curProgram)
        std::memcpy(&programs[destination], &programs[curProgram], sizeof(Patch));
    return true;
}

VstInt32 VstXSynth::getChunk(void** data, bool)
{
    if (!data)
        return 0;
    *data = &programs[curProgram];
    return static_cast<VstInt32>(sizeof(Patch));
}

VstInt32 VstXSynth::setChunk(void* data, VstInt32 byteSize, bool isPreset)
{
    return loadPresetRecord(data, byteSize, isPreset);
}

int32_t VstXSynth::loadPresetRecord(const void* record, int32_t byteSize, bool)
{
    if (byteSize != static_cast<int32_t>(sizeof(Patch)) || !record) {
        showMessage("setChunk() recieved incorrect number of bytes!");
        return 0;
    }
    // The host may hand back the very buffer getChunk gave it.
    if (record != &programs[curProgram])
        std::memcpy(&programs[curProgram], record, sizeof(Patch));
    resetDevices();
    applySpeedSpread();
    loadProgramIntoSettings();
    engine.checkOscillatorCount(); // as in setProgram
    editorRefresh();
    return static_cast<int32_t>(sizeof(Patch));
}

void VstXSynth::learnMidiController(int32_t index)
{
    int32_t controller, parameter;
    engine.learn.arm(index, controller, parameter);
    if (controller >= 0)
        programs[curProgram].midiMap[controller] = parameter;
}

int32_t VstXSynth::applyLearnedController()
{
    int32_t controller, parameter;
    if (!engine.learn.take(controller, parameter))
        return -1;
    programs[curProgram].midiMap[controller] = parameter;
    return controller;
}

void VstXSynth::randomisePatch()
{
    fillRandomPatch(programs[curProgram]);
    editorRefresh();
    requestHyperspaceRedraw();
    loadProgramIntoSettings();
    applySpeedSpread();
}
