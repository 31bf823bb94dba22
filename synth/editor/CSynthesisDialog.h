// The synthesis options dialog (template 128): the number of oscillators,
// portamento, redistribution and smoothing times, note-on phase
// correlation, mono or poly play, the output filter's depth and play from
// the computer keyboard. Each edit goes straight into the current program;
// the oscillator and portamento fields also follow host automation
// (refreshOscillators, refreshPortamento). UI thread.
#pragma once

#include "COptionDialog.h"

class CSynthesisDialog : public COptionDialog {
public:
    enum {
        kTemplate = 128,
        kPortamentoField = 1030,
        kRedistributionField = 1032,
        kOscillatorField = 1034,
        kSmoothingField = 1036,
        kMonophonicRadio = 1037,
        kPolyphonicRadio = 1038,
        kPhaseBox = 1052,
        kDepth12Radio = 1068,
        kDepth24Radio = 1069,
        kDepth48Radio = 1070,
        kQwertyBox = 1076,
        kCloseButton = 1029,
        kHelpButton = 1065,
    };

    explicit CSynthesisDialog(SynthInterface* synth) : COptionDialog(synth, kTemplate) {}

    int open(HWND parent, HICON icon) override;
    void command(int code, int id, HWND control) override;
    void editLostFocus(int id) override;
    void refreshOscillators();
    void refreshPortamento();

private:
    // Reads field `id` into the program; true when a value was stored.
    bool storeField(int id);
    void writeField(int id);
};
