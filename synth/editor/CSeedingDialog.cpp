#include "CSeedingDialog.h"

#include "Patch.h"
#include "SynthInterface.h"
#include "SynthSettings.h"

int CSeedingDialog::open(HWND parent, HICON icon)
{
    if (!COptionDialog::open(parent, icon))
        return 0;
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    subclassEdit(GetDlgItem(dialog, kSeedField));
    if (patch) {
        checkRadio(kNoReseedRadio, kDeterministicRadio, patch->reseedMode);
        writeNumber(kSeedField, patch->seed);
        setChecked(kPitchBox, patch->seedOnPitch != 0);
        setChecked(kVolumeBox, patch->seedOnVolume != 0);
        showEnabledStates(patch->reseedMode);
    }
    return 1;
}

void CSeedingDialog::showEnabledStates(int32_t mode)
{
    const bool on = OptionFields::seedControlsEnabled(mode);
    enable(kSeedField, on);
    enable(kPitchBox, on);
    enable(kVolumeBox, on);
}

void CSeedingDialog::command(int, int id, HWND)
{
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!dialog || !patch)
        return;
    int32_t seed;
    switch (id) {
    case kNoReseedRadio:
    case kRandomRadio:
    case kDeterministicRadio:
        patch->reseedMode = id - kNoReseedRadio;
        if (SynthSettings* settings = synth->getSettings())
            settings->reseedMode = patch->reseedMode;
        showEnabledStates(patch->reseedMode);
        break;
    case kSeedField:
        if (!writingField && readNumber(kSeedField, OptionFields::kSeed, seed))
            patch->seed = seed;
        break;
    case kPitchBox:
        patch->seedOnPitch = isChecked(kPitchBox) ? 1 : 0;
        break;
    case kVolumeBox:
        patch->seedOnVolume = isChecked(kVolumeBox) ? 1 : 0;
        break;
    case kCloseButton:
        close();
        break;
    case kHelpButton:
        showHelp(OptionFields::kSeedingTopic);
        break;
    default:
        break;
    }
}

void CSeedingDialog::editLostFocus(int id)
{
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (id != kSeedField || !patch)
        return;
    int32_t seed;
    if (readNumber(kSeedField, OptionFields::kSeed, seed))
        patch->seed = seed;
    writeNumber(kSeedField, patch->seed);
}

void CSeedingDialog::refreshSeed()
{
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (dialog && patch)
        writeNumber(kSeedField, patch->seed);
}
