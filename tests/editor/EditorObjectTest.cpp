// The Windows editor object without its window: what the synth tells it
// from the host's threads, and what it reports before it is opened. No
// window is made, so these run without a display.
#include "Editor.h"
#include "Patch.h"
#include "SynthTestSupport.h"
#include "VstXSynth.h"

#include <gtest/gtest.h>

#include <thread>

namespace {
using synthtest::makeSynth;
using synthtest::MessageCapture;

Editor* editorOf(VstXSynth& synth)
{
    return static_cast<Editor*>(synth.getEditor());
}

TEST(EditorObject, ReportsItsSizeBeforeOpening)
{
    auto synth = makeSynth();
    EXPECT_TRUE(synth->getAeffect()->flags & effFlagsHasEditor);
    ERect* rect = nullptr;
    ASSERT_EQ(synth->dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 680);
    EXPECT_EQ(rect->bottom - rect->top, 536);
    EXPECT_FALSE(editorOf(*synth)->isWindowOpen());
    EXPECT_EQ(editorOf(*synth)->selectedDimension(), -1);
}

TEST(EditorObject, UnknownParametersAreReportedByIdleNotByTheCaller)
{
    auto synth = makeSynth();
    MessageCapture messages;
    // Automation may arrive on the audio thread: nothing blocks there.
    std::thread audio([&] { synth->setParameter(150, 0.5f); });
    audio.join();
    EXPECT_TRUE(messages.shown().empty());
    synth->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    const std::vector<std::string> expected = {"VstXSynth::setParameter", "Editor::SetParameter"};
    EXPECT_EQ(messages.shown(), expected);
    messages.clear();
    synth->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    EXPECT_TRUE(messages.shown().empty());
}

} // namespace
