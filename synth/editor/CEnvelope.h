// An envelope graph of the current program: draws the envelope an
// EnvelopeView names and lets the user add, drag and delete its points and
// type its segment times and (bipolar home envelopes) its range. Edits go
// straight into the Patch; the synth hears of those that sounding voices
// must follow. UI thread only.
#pragma once

#include "CControl.h"
#include "CValueEdit.h"
#include "EnvelopeGeometry.h"
#include "EnvelopeView.h"

class CEnvelope : public CControl {
public:
    explicit CEnvelope(SynthInterface* synth);
    ~CEnvelope() override;

    void attach(HWND dialog, int id, const Rect& place, bool doubleBuffered) override;
    const char* className() const override { return "CEnvelope"; }
    void paint(HDC dc, const PAINTSTRUCT& ps) override;
    void leftButtonDown(Point p) override;
    void leftButtonUp(Point p) override;
    void captureLost() override;
    void mouseMove(Point p, WPARAM keys) override;
    void rightButtonDown(Point p) override;
    void command(int code, int id, HWND from) override;

    // The view to show (null: nothing); the control keeps the pointer.
    void setView(EnvelopeView* newView);
    EnvelopeView* getView() const { return view; }

private:
    enum { kAttackBox, kDecayBox, kReleaseBox, kRangeBox, kBoxes };

    void closeBoxes(int except = -1);
    void openTimeBox(int segment);
    void paintTimes(HDC dc, const PatchEnvelope& envelope);
    void paintGraph(HDC dc, const PatchEnvelope& envelope);
    void paintLabels(HDC dc);
    float* segmentTime(int segment) const;

    EnvelopeView* view = nullptr;
    EnvelopeGeometry geometry{0, 0};
    int32_t selected = -1;
    CValueEdit boxes[kBoxes];
    HBRUSH blackBrush, whiteBrush, greyBrush, hollowBrush;
    HPEN nullPen, blackPen, dottedPen, greyPen;
};
