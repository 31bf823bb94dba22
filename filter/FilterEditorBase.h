// The filter editor as the effect sees it: the effect base's editor interface
// plus the one request the effect makes of its window, refreshControl. The
// Win32 window (FilterEditor) implements it; the portable effect never sees
// a window type.
#pragma once

#include "AEffEditor.h"

class FilterEditorBase : public AEffEditor {
public:
    explicit FilterEditorBase(AudioEffect* owner) : AEffEditor(owner) {}

    // Any thread (host automation may arrive on the audio thread). Has the
    // control of parameter `index` show the parameter's current value, read
    // back from the effect rather than passed in. Never blocks and never
    // waits for the UI thread; indices without a control are ignored.
    virtual void refreshControl(int32_t index) = 0;
};
