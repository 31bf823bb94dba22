// The flock view. For now it shows its frame: an empty perspective box on a
// dark ground; the flock's animation, the cursor and the rotation sliders
// come with the view itself. UI thread only.
#pragma once

#include "CControl.h"

class CHyperspace : public CControl {
public:
    explicit CHyperspace(SynthInterface* synth);
    ~CHyperspace() override;

    const char* className() const override { return "CHyperspace"; }
    void paint(HDC dc, const PAINTSTRUCT& ps) override;
    bool eraseBackground(HDC) override { return true; } // paint covers everything

private:
    HBRUSH ground;
    HPEN edge;
};
