#include "ParameterTable.h"

#include <cmath>
#include <cstdio>
#include <cstring>

const float kTimeScale = 9.9999f - 0.0001f;

namespace {
using M = ParameterMapping;
using D = ParameterDisplay;
using C = ParameterChange;
using S = EnvelopeStage;

constexpr ParameterField scalar(int32_t Patch::*field)
{
    return {field, -1, S::None};
}
constexpr ParameterField envelope(int index, S stage)
{
    return {nullptr, static_cast<int8_t>(index), stage};
}

const ParameterInfo kParameters[kParameterCount] = {
    {"Volume", "Volume home position", " dB", // 0
     scalar(&Patch::volumeHome), M::Percent, D::Decibel, C::None},
    {"Pan", "Pan home position", "", // 1
     scalar(&Patch::panHome), M::Pan, D::Integer, C::None},
    {"Resonance", "Resonance home position", "", // 2
     scalar(&Patch::resonanceHome), M::Percent, D::Integer, C::None},
    {"Noise", "Noise home position", " %", // 3
     scalar(&Patch::noiseHome), M::Percent, D::Integer, C::None},
    {"Vol Var.", "Volume parameter range", " %", // 4
     scalar(&Patch::volumeRange), M::Percent, D::Integer, C::None},
    {"Pitch Var.", "Pitch parameter range", " %", // 5
     scalar(&Patch::pitchRange), M::Percent, D::Integer, C::None},
    {"Pan Var.", "Pan parameter range", " %", // 6
     scalar(&Patch::panRange), M::Percent, D::Integer, C::None},
    {"Res Var.", "Resonance parameter range", " %", // 7
     scalar(&Patch::resonanceRange), M::Percent, D::Integer, C::None},
    {"Noise Var.", "Noise parameter range", " %", // 8
     scalar(&Patch::noiseRange), M::Percent, D::Integer, C::None},
    {"Speed", "Speed", " %", // 9
     scalar(&Patch::speed), M::Percent, D::Integer, C::None},
    {"Speed LFO", "Speed LFO Depth", " %", // 10
     scalar(&Patch::lfoDepth), M::Percent, D::Integer, C::LfoDepth},
    {"Std. Dev.", "Standard deviation", " %", // 11
     scalar(&Patch::stdDev), M::Percent, D::Integer, C::SpeedSpread},
    {"Reflection", "Reflection", " %", // 12
     scalar(&Patch::reflection), M::Percent, D::Integer, C::Reflection},
    {"Attract", "Attraction steering amount", "", // 13
     scalar(&Patch::attract), M::Percent, D::Integer, C::Attraction},
    {"Repel", "Repulsion steering amount", "", // 14
     scalar(&Patch::repel), M::Percent, D::Integer, C::Repulsion},
    {"Proximity", "Proximity control", "", // 15
     scalar(&Patch::proximity), M::Percent, D::Integer, C::Proximity},
    {"Lowpass", "Lowpass filter cutoff", "", // 16
     scalar(&Patch::lowpassCutoff), M::Percent, D::Blank, C::None},
    {"'Q'", "Lowpass filter 'Q'", "", // 17
     scalar(&Patch::filterQ), M::Percent, D::Blank, C::None},
    {"Overdrive", "Overdrive level", "", // 18
     scalar(&Patch::overdrive), M::Percent, D::Blank, C::None},
    {"Oscillators", "Number of oscillators", "", // 19
     scalar(&Patch::oscillatorCount), M::Count, D::Integer, C::OscillatorCount},
    {"Portamento", "Portamento time", " msec", // 20
     scalar(&Patch::portamentoTime), M::Portamento, D::Integer, C::None},
    {"Seed", "Fixed determinism seed", "", // 21
     scalar(&Patch::seed), M::Seed, D::Integer, C::None},
    {"Vl Atk Tm", "Volume envelope attack time", " msec", // 22
     envelope(kVolumeEnv, S::AttackTime), M::Time, D::Milliseconds, C::Envelope},
    {"Vl Atk Lv", "Volume envelope attack level", " %", // 23
     envelope(kVolumeEnv, S::AttackLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Vl Dec Tm", "Volume envelope decay time", " msec", // 24
     envelope(kVolumeEnv, S::DecayTime), M::Time, D::Milliseconds, C::Envelope},
    {"Vl Dec Lv", "Volume envelope decay level", " %", // 25
     envelope(kVolumeEnv, S::DecayLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Vl Rel Tm", "Volume envelope release time", " msec", // 26
     envelope(kVolumeEnv, S::ReleaseTime), M::Time, D::Milliseconds, C::Envelope},
    {"Pt Env Rg", "Pitch envelope range", " s/tone", // 27
     envelope(kPitchEnv, S::Range), M::Semitones24, D::Integer, C::Envelope},
    {"Pt Ini Lv", "Pitch envelope initial level", " %", // 28
     envelope(kPitchEnv, S::InitialLevel), M::Level, D::LevelPercent, C::None},
    {"Pt Atk Tm", "Pitch envelope attack time", " msec", // 29
     envelope(kPitchEnv, S::AttackTime), M::Time, D::Milliseconds, C::Envelope},
    {"Pt Atk Lv", "Pitch envelope attack level", " %", // 30
     envelope(kPitchEnv, S::AttackLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Pt Dec Tm", "Pitch envelope decay time", " msec", // 31
     envelope(kPitchEnv, S::DecayTime), M::Time, D::Milliseconds, C::Envelope},
    {"Pt Dec Lv", "Pitch envelope decay level", " %", // 32
     envelope(kPitchEnv, S::DecayLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Pt Rel Tm", "Pitch envelope release time", " msec", // 33
     envelope(kPitchEnv, S::ReleaseTime), M::Time, D::Milliseconds, C::Envelope},
    {"Pt Rel Lv", "Pitch envelope release level", " %", // 34
     envelope(kPitchEnv, S::ReleaseLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Pn Env Rg", "Pan envelope range", " %", // 35
     envelope(kPanEnv, S::Range), M::Percent, D::Integer, C::Envelope},
    {"Pn Ini Lv", "Pan envelope initial level", " %", // 36
     envelope(kPanEnv, S::InitialLevel), M::Level, D::LevelPercent, C::None},
    {"Pn Atk Tm", "Pan envelope attack time", " msec", // 37
     envelope(kPanEnv, S::AttackTime), M::Time, D::Milliseconds, C::Envelope},
    {"Pn Atk Lv", "Pan envelope attack level", " %", // 38
     envelope(kPanEnv, S::AttackLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Pn Dec Tm", "Pan envelope decay time", " msec", // 39
     envelope(kPanEnv, S::DecayTime), M::Time, D::Milliseconds, C::Envelope},
    {"Pn Dec Lv", "Pan envelope decay level", " %", // 40
     envelope(kPanEnv, S::DecayLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Pn Rel Tm", "Pan envelope release time", " msec", // 41
     envelope(kPanEnv, S::ReleaseTime), M::Time, D::Milliseconds, C::Envelope},
    {"Pn Rel Lv", "Pan envelope release level", " %", // 42
     envelope(kPanEnv, S::ReleaseLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Rs Env Rg", "Resonance envelope range", " %", // 43
     envelope(kResonanceEnv, S::Range), M::Half, D::Integer, C::Envelope},
    {"Rs Ini Lv", "Resonance envelope initial level", " %", // 44
     envelope(kResonanceEnv, S::InitialLevel), M::Level, D::LevelPercent, C::None},
    {"Rs Atk Tm", "Resonance envelope attack time", " msec", // 45
     envelope(kResonanceEnv, S::AttackTime), M::Time, D::Milliseconds, C::Envelope},
    {"Rs Atk Lv", "Resonance envelope attack level", " %", // 46
     envelope(kResonanceEnv, S::AttackLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Rs Dec Tm", "Resonance envelope decay time", " msec", // 47
     envelope(kResonanceEnv, S::DecayTime), M::Time, D::Milliseconds, C::Envelope},
    {"Rs Dec Lv", "Resonance envelope decay level", " %", // 48
     envelope(kResonanceEnv, S::DecayLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Rs Rel Tm", "Resonance envelope release time", " msec", // 49
     envelope(kResonanceEnv, S::ReleaseTime), M::Time, D::Milliseconds, C::Envelope},
    {"Rs Rel Lv", "Resonance envelope release level", " %", // 50
     envelope(kResonanceEnv, S::ReleaseLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Ns Env Rg", "Noise envelope range", " %", // 51
     envelope(kNoiseEnv, S::Range), M::Half, D::Integer, C::Envelope},
    {"Ns Ini Lv", "Noise envelope initial level", " %", // 52
     envelope(kNoiseEnv, S::InitialLevel), M::Level, D::LevelPercent, C::None},
    {"Ns Atk Tm", "Noise envelope attack time", " msec", // 53
     envelope(kNoiseEnv, S::AttackTime), M::Time, D::Milliseconds, C::Envelope},
    {"Ns Atk Lv", "Noise envelope attack level", " %", // 54
     envelope(kNoiseEnv, S::AttackLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Ns Dec Tm", "Noise envelope decay time", " msec", // 55
     envelope(kNoiseEnv, S::DecayTime), M::Time, D::Milliseconds, C::Envelope},
    {"Ns Dec Lv", "Noise envelope decay level", " %", // 56
     envelope(kNoiseEnv, S::DecayLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Ns Rel Tm", "Noise envelope release time", " msec", // 57
     envelope(kNoiseEnv, S::ReleaseTime), M::Time, D::Milliseconds, C::Envelope},
    {"Ns Rel Lv", "Noise envelope release level", " %", // 58
     envelope(kNoiseEnv, S::ReleaseLevel), M::Level, D::LevelPercent, C::Envelope},
    {"VlVr Ini Lv", "Volume range envelope initial level", " %", // 59
     envelope(kVolumeRangeEnv, S::InitialLevel), M::Level, D::LevelPercent, C::None},
    {"VlVr Atk Tm", "Volume range envelope attack time", " msec", // 60
     envelope(kVolumeRangeEnv, S::AttackTime), M::Time, D::Milliseconds, C::Envelope},
    {"VlVr Atk Lv", "Volume range envelope attack level", " %", // 61
     envelope(kVolumeRangeEnv, S::AttackLevel), M::Level, D::LevelPercent, C::Envelope},
    {"VlVr Dec Tm", "Volume range envelope decay time", " msec", // 62
     envelope(kVolumeRangeEnv, S::DecayTime), M::Time, D::Milliseconds, C::Envelope},
    {"VlVr Dec Lv", "Volume range envelope decay level", " %", // 63
     envelope(kVolumeRangeEnv, S::DecayLevel), M::Level, D::LevelPercent, C::Envelope},
    {"VlVr Rel Tm", "Volume range envelope release time", " msec", // 64
     envelope(kVolumeRangeEnv, S::ReleaseTime), M::Time, D::Milliseconds, C::Envelope},
    {"VlVr Rel Lv", "Volume range envelope release level", " %", // 65
     envelope(kVolumeRangeEnv, S::ReleaseLevel), M::Level, D::LevelPercent, C::Envelope},
    {"PtVr Ini Lv", "Pitch range envelope initial level", " %", // 66
     envelope(kPitchRangeEnv, S::InitialLevel), M::Level, D::LevelPercent, C::None},
    {"PtVr Atk Tm", "Pitch range envelope attack time", " msec", // 67
     envelope(kPitchRangeEnv, S::AttackTime), M::Time, D::Milliseconds, C::Envelope},
    {"PtVr Atk Lv", "Pitch range envelope attack level", " %", // 68
     envelope(kPitchRangeEnv, S::AttackLevel), M::Level, D::LevelPercent, C::Envelope},
    {"PtVr Dec Tm", "Pitch range envelope decay time", " msec", // 69
     envelope(kPitchRangeEnv, S::DecayTime), M::Time, D::Milliseconds, C::Envelope},
    {"PtVr Dec Lv", "Pitch range envelope decay level", " %", // 70
     envelope(kPitchRangeEnv, S::DecayLevel), M::Level, D::LevelPercent, C::Envelope},
    {"PtVr Rel Tm", "Pitch range envelope release time", " msec", // 71
     envelope(kPitchRangeEnv, S::ReleaseTime), M::Time, D::Milliseconds, C::Envelope},
    {"PtVr Rel Lv", "Pitch range envelope release level", " %", // 72
     envelope(kPitchRangeEnv, S::ReleaseLevel), M::Level, D::LevelPercent, C::Envelope},
    {"PnVr Ini Lv", "Pan range envelope initial level", " %", // 73
     envelope(kPanRangeEnv, S::InitialLevel), M::Level, D::LevelPercent, C::None},
    {"PnVr Atk Tm", "Pan range envelope attack time", " msec", // 74
     envelope(kPanRangeEnv, S::AttackTime), M::Time, D::Milliseconds, C::Envelope},
    {"PnVr Atk Lv", "Pan range envelope attack level", " %", // 75
     envelope(kPanRangeEnv, S::AttackLevel), M::Level, D::LevelPercent, C::Envelope},
    {"PnVr Dec Tm", "Pan range envelope decay time", " msec", // 76
     envelope(kPanRangeEnv, S::DecayTime), M::Time, D::Milliseconds, C::Envelope},
    {"PnVr Dec Lv", "Pan range envelope decay level", " %", // 77
     envelope(kPanRangeEnv, S::DecayLevel), M::Level, D::LevelPercent, C::Envelope},
    {"PnVr Rel Tm", "Pan range envelope release time", " msec", // 78
     envelope(kPanRangeEnv, S::ReleaseTime), M::Time, D::Milliseconds, C::Envelope},
    {"PnVr Rel Lv", "Pan range envelope release level", " %", // 79
     envelope(kPanRangeEnv, S::ReleaseLevel), M::Level, D::LevelPercent, C::Envelope},
    {"RsVr Ini Lv", "Resonance range envelope initial level", " %", // 80
     envelope(kResonanceRangeEnv, S::InitialLevel), M::Level, D::LevelPercent, C::None},
    {"RsVr Atk Tm", "Resonance range envelope attack time", " msec", // 81
     envelope(kResonanceRangeEnv, S::AttackTime), M::Time, D::Milliseconds, C::Envelope},
    {"RsVr Atk Lv", "Resonance range envelope attack level", " %", // 82
     envelope(kResonanceRangeEnv, S::AttackLevel), M::Level, D::LevelPercent, C::Envelope},
    {"RsVr Dec Tm", "Resonance range envelope decay time", " msec", // 83
     envelope(kResonanceRangeEnv, S::DecayTime), M::Time, D::Milliseconds, C::Envelope},
    {"RsVr Dec Lv", "Resonance range envelope decay level", " %", // 84
     envelope(kResonanceRangeEnv, S::DecayLevel), M::Level, D::LevelPercent, C::Envelope},
    {"RsVr Rel Tm", "Resonance range envelope release time", " msec", // 85
     envelope(kResonanceRangeEnv, S::ReleaseTime), M::Time, D::Milliseconds, C::Envelope},
    {"RsVr Rel Lv", "Resonance range envelope release level", " %", // 86
     envelope(kResonanceRangeEnv, S::ReleaseLevel), M::Level, D::LevelPercent, C::Envelope},
    {"NsVr Ini Lv", "Noise range envelope initial level", " %", // 87
     envelope(kNoiseRangeEnv, S::InitialLevel), M::Level, D::LevelPercent, C::None},
    {"NsVr Atk Tm", "Noise range envelope attack time", " msec", // 88
     envelope(kNoiseRangeEnv, S::AttackTime), M::Time, D::Milliseconds, C::Envelope},
    {"NsVr Atk Lv", "Noise range envelope attack level", " %", // 89
     envelope(kNoiseRangeEnv, S::AttackLevel), M::Level, D::LevelPercent, C::Envelope},
    {"NsVr Dec Tm", "Noise range envelope decay time", " msec", // 90
     envelope(kNoiseRangeEnv, S::DecayTime), M::Time, D::Milliseconds, C::Envelope},
    {"NsVr Dec Lv", "Noise range envelope decay level", " %", // 91
     envelope(kNoiseRangeEnv, S::DecayLevel), M::Level, D::LevelPercent, C::Envelope},
    {"NsVr Rel Tm", "Noise range envelope release time", " msec", // 92
     envelope(kNoiseRangeEnv, S::ReleaseTime), M::Time, D::Milliseconds, C::Envelope},
    {"NsVr Rel Lv", "Noise range envelope release level", " %", // 93
     envelope(kNoiseRangeEnv, S::ReleaseLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Spd Ini Lv", "Speed envelope initial level", " %", // 94
     envelope(kSpeedEnv, S::InitialLevel), M::Level, D::LevelPercent, C::None},
    {"Spd Atk Tm", "Speed envelope attack time", " msec", // 95
     envelope(kSpeedEnv, S::AttackTime), M::Time, D::Milliseconds, C::Envelope},
    {"Spd Atk Lv", "Speed envelope attack level", " %", // 96
     envelope(kSpeedEnv, S::AttackLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Spd Dec Tm", "Speed envelope decay time", " msec", // 97
     envelope(kSpeedEnv, S::DecayTime), M::Time, D::Milliseconds, C::Envelope},
    {"Spd Dec Lv", "Speed envelope decay level", " %", // 98
     envelope(kSpeedEnv, S::DecayLevel), M::Level, D::LevelPercent, C::Envelope},
    {"Spd Rel Tm", "Speed envelope release time", " msec", // 99
     envelope(kSpeedEnv, S::ReleaseTime), M::Time, D::Milliseconds, C::Envelope},
    {"Spd Rel Lv", "Speed envelope release level", " %", // 100
     envelope(kSpeedEnv, S::ReleaseLevel), M::Level, D::LevelPercent, C::Envelope},
};

const float kTimeOffset = 0.0001f;

int32_t* intField(Patch& patch, const ParameterField& field)
{
    if (field.scalar)
        return &(patch.*field.scalar);
    if (field.stage == S::Range)
        return &patch.envelopes[field.envelope].range;
    return nullptr;
}

float* floatField(Patch& patch, const ParameterField& field)
{
    if (field.scalar)
        return nullptr;
    PatchEnvelope& e = patch.envelopes[field.envelope];
    switch (field.stage) {
    case S::InitialLevel:
        return &e.pointLevel[0];
    case S::AttackTime:
        return &e.attackTime;
    case S::AttackLevel:
        return &e.pointLevel[safePointCount(e) - 1];
    case S::DecayTime:
        return &e.decayTime;
    case S::DecayLevel:
        return &e.sustainLevel;
    case S::ReleaseTime:
        return &e.releaseTime;
    case S::ReleaseLevel:
        return &e.releaseLevel;
    case S::None:
    case S::Range:
        break;
    }
    return nullptr;
}

// Reading goes through the same resolution; the casts only drop the const
// that the shared helpers do not need to honour.
int32_t storedInt(const Patch& patch, const ParameterField& field)
{
    const int32_t* p = intField(const_cast<Patch&>(patch), field);
    return p ? *p : 0;
}

float storedFloat(const Patch& patch, const ParameterField& field)
{
    const float* p = floatField(const_cast<Patch&>(patch), field);
    return p ? *p : 0.0f;
}

bool isFloatMapping(M mapping)
{
    return mapping == M::Time || mapping == M::Level;
}
} // namespace

const ParameterInfo* findParameter(int32_t index)
{
    return (index >= 0 && index < kParameterCount) ? &kParameters[index] : nullptr;
}

int32_t saturatingTruncate(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return INT32_MAX;
    if (value <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

void storeParameter(Patch& patch, const ParameterInfo& info, float value)
{
    const double v = value;
    if (isFloatMapping(info.mapping)) {
        float* target = floatField(patch, info.field);
        if (!target)
            return;
        if (info.mapping == M::Time)
            *target = static_cast<float>(static_cast<double>(kTimeScale) * v * v +
                                         static_cast<double>(kTimeOffset));
        else
            *target = value;
        return;
    }
    int32_t* target = intField(patch, info.field);
    if (!target)
        return;
    double stored = 0.0;
    switch (info.mapping) {
    case M::Percent:
        stored = std::trunc(v * 100.0);
        break;
    case M::Pan:
        stored = std::trunc((v - 0.5) * 200.0);
        break;
    case M::Count:
        stored = 1.0 - std::trunc(v * -63.0);
        break;
    case M::Portamento:
        stored = 1.0 - std::trunc(v * -999.0);
        break;
    case M::Seed:
        stored = std::trunc(v * 134217728.0);
        break;
    case M::Semitones24:
        stored = std::trunc(v * 24.0);
        break;
    case M::Half:
        stored = std::trunc(v * 50.0);
        break;
    case M::Time:
    case M::Level:
        break;
    }
    *target = saturatingTruncate(stored);
}

float readParameter(const Patch& patch, const ParameterInfo& info)
{
    double result = 0.0;
    if (isFloatMapping(info.mapping)) {
        const double stored = storedFloat(patch, info.field);
        if (info.mapping == M::Time)
            result = std::sqrt((stored - static_cast<double>(kTimeOffset)) /
                               static_cast<double>(kTimeScale));
        else
            result = stored;
    } else {
        const double stored = storedInt(patch, info.field);
        switch (info.mapping) {
        case M::Percent:
            result = stored * static_cast<double>(0.01f);
            break;
        case M::Pan:
            result = stored * static_cast<double>(0.005f) + 0.5;
            break;
        case M::Count:
            result = (stored - 1.0) * static_cast<double>(0.015873017f);
            break;
        case M::Portamento:
            result = (stored - 1.0) * static_cast<double>(0.001001001f);
            break;
        case M::Seed:
            result = stored * static_cast<double>(7.450581e-9f);
            break;
        case M::Semitones24:
            result = stored * static_cast<double>(0.041666668f);
            break;
        case M::Half:
            result = stored * static_cast<double>(0.02f);
            break;
        case M::Time:
        case M::Level:
            break;
        }
    }
    // Hosts are handed finite numbers only.
    if (!std::isfinite(result) || std::fabs(result) > 3.0e38)
        return 0.0f;
    return static_cast<float>(result);
}

float decibelGain(const Patch& patch, const ParameterInfo& info)
{
    return static_cast<float>(storedInt(patch, info.field) * static_cast<double>(0.01f));
}

void formatParameterValue(const Patch& patch, const ParameterInfo& info, char* text, size_t size)
{
    if (!text || size == 0)
        return;
    char buffer[64] = "";
    switch (info.display) {
    case D::Integer:
        std::snprintf(buffer, sizeof buffer, "%i", storedInt(patch, info.field));
        break;
    case D::LevelPercent:
        std::snprintf(buffer, sizeof buffer, "%i",
                      saturatingTruncate(storedFloat(patch, info.field) * 100.0));
        break;
    case D::Milliseconds: {
        // Any float times 1000 prints in well under 64 characters.
        std::snprintf(buffer, sizeof buffer, "%.2f", storedFloat(patch, info.field) * 1000.0);
        size_t length = std::strlen(buffer);
        while (length > 0 && buffer[length - 1] == '0')
            buffer[--length] = 0;
        if (length > 0 && buffer[length - 1] == '.')
            buffer[--length] = 0;
        break;
    }
    case D::Decibel:
    case D::Blank:
        break;
    }
    std::strncpy(text, buffer, size - 1);
    text[size - 1] = 0;
}
