// The speed LFO dialog (template 146): follow the host's tempo or use a
// local one, the LFO's shape and its measure, a bitmap button that steps
// through nine rates per beat. Edits go straight into the current program
// and the LFO's rate follows at once. UI thread.
#pragma once

#include "COptionDialog.h"

class CSpeedLFODialog : public COptionDialog {
public:
    enum {
        kTemplate = 146,
        kBpmField = 1071,
        kSyncBox = 1072,
        kSineRadio = 1073,
        kSquareRadio = 1074,
        kMeasureButton = 1075,
        kCloseButton = 1029,
        kHelpButton = 1065,
    };

    explicit CSpeedLFODialog(SynthInterface* synth);
    ~CSpeedLFODialog() override;

    int open(HWND parent, HICON icon) override;
    void command(int code, int id, HWND control) override;
    void editLostFocus(int id) override;
    // The host's tempo was taken as the local one: the field shows it.
    void refreshBpm();

private:
    void showMeasure();
    void storeBpm(bool writeBack);

    HBITMAP measures[OptionFields::kMeasures];
};
