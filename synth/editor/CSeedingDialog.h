// The determinism seeding dialog (template 130): whether and how the flock
// is reseeded at note-on, the base seed and what else the seed depends on.
// The seed field and the dependency boxes only matter, and are only
// enabled, in deterministic mode. The seed follows host automation
// (refreshSeed). UI thread.
#pragma once

#include "COptionDialog.h"

class CSeedingDialog : public COptionDialog {
public:
    enum {
        kTemplate = 130,
        kPitchBox = 1056,
        kVolumeBox = 1057,
        kSeedField = 1058,
        kNoReseedRadio = 1059,
        kRandomRadio = 1060,
        kDeterministicRadio = 1061,
        kCloseButton = 1029,
        kHelpButton = 1065,
    };

    explicit CSeedingDialog(SynthInterface* synth) : COptionDialog(synth, kTemplate) {}

    int open(HWND parent, HICON icon) override;
    void command(int code, int id, HWND control) override;
    void editLostFocus(int id) override;
    void refreshSeed();

private:
    void showEnabledStates(int32_t mode);
};
