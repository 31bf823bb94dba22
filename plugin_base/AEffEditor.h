// Base of both plug-ins' editor windows, as the effect base sees it.
//
// The dispatcher calls getRect/open/close/idle on the host's UI thread.
// postUpdate() may be called from any thread; it only raises a flag that the
// editor's idle() serves.
#pragma once

#include "Vst2Interface.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* owner) : effect(owner), updateFlag(false) {}
    virtual ~AEffEditor() {}

    virtual int32_t getRect(ERect** rect)
    {
        if (rect)
            *rect = nullptr;
        return 0;
    }
    virtual int32_t open(void* parentWindow)
    {
        systemWindow = parentWindow;
        return 0;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual void idle()
    {
        if (updateFlag) {
            updateFlag = false;
            update();
        }
    }
    virtual void update() {}
    virtual void postUpdate() { updateFlag = true; }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
    volatile bool updateFlag;
};
