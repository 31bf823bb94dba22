#include "CSpeedLFODialog.h"

#include "Patch.h"
#include "PluginModule.h"
#include "SynthInterface.h"

CSpeedLFODialog::CSpeedLFODialog(SynthInterface* synth) : COptionDialog(synth, kTemplate)
{
    for (int m = 0; m < OptionFields::kMeasures; ++m)
        measures[m] = static_cast<HBITMAP>(
            LoadImageA(PluginModule::instance(), MAKEINTRESOURCEA(OptionFields::measureBitmap(m)),
                       IMAGE_BITMAP, 0, 0, 0));
}

CSpeedLFODialog::~CSpeedLFODialog()
{
    close(); // the button lets go of its bitmap before the bitmaps go
    for (HBITMAP bitmap : measures)
        if (bitmap)
            DeleteObject(bitmap);
}

int CSpeedLFODialog::open(HWND parent, HICON icon)
{
    if (!COptionDialog::open(parent, icon))
        return 0;
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    subclassEdit(GetDlgItem(dialog, kBpmField));
    if (patch) {
        writeNumber(kBpmField, patch->localBpm);
        setChecked(kSineRadio, patch->lfoSine == 1);
        setChecked(kSquareRadio, patch->lfoSine == 0);
        setChecked(kSyncBox, patch->syncToHost != 0);
        enable(kBpmField, OptionFields::bpmFieldEnabled(patch->syncToHost));
    }
    showMeasure();
    return 1;
}

void CSpeedLFODialog::showMeasure()
{
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!dialog || !patch)
        return;
    const int32_t m = patch->lfoMeasure;
    HBITMAP bitmap = measures[m >= 0 && m < OptionFields::kMeasures ? m : 4];
    SendDlgItemMessageA(dialog, kMeasureButton, BM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(bitmap));
}

void CSpeedLFODialog::storeBpm(bool writeBack)
{
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!patch)
        return;
    int32_t bpm;
    if (readNumber(kBpmField, OptionFields::kLocalBpm, bpm)) {
        patch->localBpm = bpm;
        synth->updateLfoRate();
    }
    if (writeBack)
        writeNumber(kBpmField, patch->localBpm);
}

void CSpeedLFODialog::command(int, int id, HWND)
{
    Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (!dialog || !patch)
        return;
    switch (id) {
    case kSyncBox:
        patch->syncToHost = isChecked(kSyncBox) ? 1 : 0;
        enable(kBpmField, OptionFields::bpmFieldEnabled(patch->syncToHost));
        break;
    case kBpmField:
        if (!writingField)
            storeBpm(false);
        break;
    case kSineRadio:
        patch->lfoSine = 1;
        break;
    case kSquareRadio:
        patch->lfoSine = 0;
        break;
    case kMeasureButton:
        patch->lfoMeasure = OptionFields::nextMeasure(patch->lfoMeasure);
        synth->updateLfoRate();
        showMeasure();
        break;
    case kCloseButton:
        close();
        break;
    case kHelpButton:
        showHelp(OptionFields::kSpeedLfoTopic);
        break;
    default:
        break;
    }
}

void CSpeedLFODialog::editLostFocus(int id)
{
    if (id == kBpmField)
        storeBpm(true);
}

void CSpeedLFODialog::refreshBpm()
{
    const Patch* patch = synth ? synth->getCurrentProgram() : nullptr;
    if (dialog && patch)
        writeNumber(kBpmField, patch->localBpm);
}
