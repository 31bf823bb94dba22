#include "CSynthesisDialog.h"

#include "Patch.h"
#include "SynthInterface.h"
#include "SynthSettings.h"

namespace {
struct NumberField {
    int id;
    const OptionFields::Range* range;
    int32_t Patch::*field;
};

const NumberField kFields[] = {
    {CSynthesisDialog::kOscillatorField, &OptionFields::kOscillators, &Patch::oscillatorCount},
    {CSynthesisDialog::kPortamentoField, &OptionFields::kPortamento, &Patch::portamentoTime},
    {CSynthesisDialog::kRedistributionField, &OptionFields::kRedistribution,
     &Patch::redistributionTime},
    {CSynthesisDialog::kSmoothingField, &OptionFields::kSmoothing, &Patch::smoothingHalfLife},
};

const NumberField* findField(int id)
{
    for (const NumberField& f : kFields)
        if (f.id == id)
            return &f;
    return nullptr;
}
} // namespace

int CSynthesisDialog::open(HWND parent, HICON icon)
{
    if (!COptionDialog::open(parent, icon))
        return 0;
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    for (const NumberField& f : kFields) {
        subclassEdit(GetDlgItem(dialog, f.id));
        writeField(f.id);
    }
    if (patch) {
        setChecked(kPhaseBox, patch->phaseCorrelation != 0);
        setChecked(kMonophonicRadio, patch->polyphonic == 0);
        setChecked(kPolyphonicRadio, patch->polyphonic == 1);
        checkRadio(kDepth12Radio, kDepth48Radio, patch->filterDepth);
        setChecked(kQwertyBox, patch->qwertyControl != 0);
    }
    return 1;
}

void CSynthesisDialog::writeField(int id)
{
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    const NumberField* f = findField(id);
    if (patch && f)
        writeNumber(id, patch->*(f->field));
}

bool CSynthesisDialog::storeField(int id)
{
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    const NumberField* f = findField(id);
    int32_t value;
    if (!patch || !f || !readNumber(id, *f->range, value))
        return false;
    patch->*(f->field) = value;
    if (id == kOscillatorField) {
        synth->requestHyperspaceRedraw();
        synth->applySpeedSpread();
    }
    return true;
}

void CSynthesisDialog::command(int, int id, HWND)
{
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!dialog || !patch)
        return;
    switch (id) {
    case kOscillatorField:
    case kPortamentoField:
    case kRedistributionField:
    case kSmoothingField:
        if (!writingField)
            storeField(id);
        break;
    case kPhaseBox:
        patch->phaseCorrelation = isChecked(kPhaseBox) ? 1 : 0;
        if (SynthSettings* settings = synth->getSettings())
            settings->phaseCorrelation = patch->phaseCorrelation != 0;
        break;
    case kMonophonicRadio:
        patch->polyphonic = 0;
        break;
    case kPolyphonicRadio:
        patch->polyphonic = 1;
        break;
    case kDepth12Radio:
    case kDepth24Radio:
    case kDepth48Radio:
        patch->filterDepth = id - kDepth12Radio;
        break;
    case kQwertyBox:
        patch->qwertyControl = isChecked(kQwertyBox) ? 1 : 0;
        if (!patch->qwertyControl)
            synth->releaseComputerKeys();
        break;
    case kCloseButton:
        close();
        break;
    case kHelpButton:
        showHelp(OptionFields::kSynthesisTopic);
        break;
    default:
        break;
    }
}

void CSynthesisDialog::editLostFocus(int id)
{
    if (!findField(id))
        return;
    storeField(id);
    if (id == kOscillatorField)
        synth->updateFlockingSteps();
    writeField(id);
}

void CSynthesisDialog::refreshOscillators()
{
    writeField(kOscillatorField);
}

void CSynthesisDialog::refreshPortamento()
{
    writeField(kPortamentoField);
}
