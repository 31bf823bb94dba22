// The four option dialogs in the real instrument under a host that renders
// audio beside the editor: typed fields limited key by key, the measure
// button and the LFO rate, fields restored when they lose the focus, the
// enabled states, dragging the dimension order, raising an open dialog,
// refreshes from automation and closing on a program change or with the
// editor; each Help button asking a stand-in help viewer (HelpRecorder) for
// its page of the help file the build compiled. Input goes through window messages (posted keys and
// clicks, the buttons' own click message); the plug-in is loaded into this process, so the test
// reads the current program and the engine's settings directly.
#include "ChmListing.h"
#include "EditorHost.h"
#include "HelpRecorder.h"
#include "Patch.h"
#include "PluginFiles.h"
#include "PngEncoder.h"
#include "SynthInterface.h"
#include "SynthSettings.h"
#include "Vst2Interface.h"
#include "VstXSynth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
const char* const kPlugin = PLUGIN_FILE("nimbulator");
// The editor's private message that opens an option dialog, and the
// dialogs in the order it numbers them.
const UINT kOpenOptionDialog = WM_USER + 16;
enum { kSynthesis, kSpeedLfo, kSeeding, kVisualisation };
const char* const kTitles[] = {"Nimbulator - synthesis options", "Nimbulator - speed LFO",
                               "Nimbulator - determinism seeding",
                               "Nimbulator - visualisation options"};

struct TitleSearch {
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK collectByTitle(HWND window, LPARAM data)
{
    TitleSearch* search = reinterpret_cast<TitleSearch*>(data);
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    if (IsWindowVisible(window) && std::string(text) == search->title)
        search->found.push_back(window);
    return TRUE;
}

// The whole dialog window as shown, caption and frame included.
RgbImage captureWindow(HWND window)
{
    return EditorHost::captureWindow(window, true);
}

class OptionDialogsGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        host = EditorHost::load(kPlugin, error);
        ASSERT_TRUE(host) << error;
        synth = static_cast<VstXSynth*>(static_cast<AudioEffect*>(host->plugin().effect()->object));
        ASSERT_TRUE(host->open(error)) << error;
        host->pump(50);
    }
    void TearDown() override
    {
        if (host) {
            EXPECT_TRUE(host->faults().empty()) << host->faults()[0];
        }
        host.reset();
        // Closing the editor closed every dialog.
        for (const char* title : kTitles)
            EXPECT_TRUE(windows(title).empty()) << title;
    }

    Patch& patch() { return *static_cast<SynthInterface*>(synth)->getCurrentProgram(); }
    SynthSettings& settings() { return *static_cast<SynthInterface*>(synth)->getSettings(); }

    static std::vector<HWND> windows(const char* title)
    {
        TitleSearch search = {title, {}};
        EnumThreadWindows(GetCurrentThreadId(), collectByTitle, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HWND open(int which)
    {
        SendMessageA(host->editorWindow(), kOpenOptionDialog, which, 0);
        host->pump(30);
        const std::vector<HWND> found = windows(kTitles[which]);
        return found.size() == 1 ? found[0] : nullptr;
    }
    // Focus on field `id`, its whole text selected, then `text` typed one
    // key at a time; `afterEach` sees the program after every key.
    template <class Check> void type(HWND dialog, int id, const std::string& text, Check afterEach)
    {
        HWND field = GetDlgItem(dialog, id);
        ASSERT_TRUE(field);
        SetFocus(field);
        SendMessageA(field, EM_SETSEL, 0, -1);
        for (size_t i = 0; i < text.size(); ++i) {
            ASSERT_TRUE(host->typeText(text.substr(i, 1)));
            host->pump(0);
            afterEach(i);
        }
    }
    void type(HWND dialog, int id, const std::string& text)
    {
        type(dialog, id, text, [](size_t) {});
    }
    static std::string fieldText(HWND dialog, int id)
    {
        char text[300] = {};
        GetDlgItemTextA(dialog, id, text, sizeof text);
        return text;
    }
    void click(HWND dialog, int id)
    {
        SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        host->pump(0);
    }
    static bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)); }
    static bool checked(HWND dialog, int id)
    {
        return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
    }
    // Moves the focus away from the fields, as a click elsewhere does.
    void leaveField(HWND dialog, int otherControl)
    {
        SetFocus(GetDlgItem(dialog, otherControl));
        host->pump(0);
    }
    std::vector<std::string> listEntries(HWND list)
    {
        std::vector<std::string> entries;
        const int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char text[64] = {};
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        return entries;
    }

    std::unique_ptr<EditorHost> host;
    VstXSynth* synth = nullptr;
};

} // namespace

TEST_F(OptionDialogsGui, EachDialogOpensWithItsTitleAndTheProgramsValues)
{
    patch().localBpm = 133;
    patch().oscillatorCount = 23;
    patch().portamentoTime = 456;
    patch().seed = 98765;
    patch().trailLength = 7;
    patch().reseedMode = 2;
    HWND lfo = open(kSpeedLfo);
    HWND synthesis = open(kSynthesis);
    HWND seeding = open(kSeeding);
    HWND view = open(kVisualisation);
    ASSERT_TRUE(lfo && synthesis && seeding && view);
    EXPECT_EQ(fieldText(lfo, 1071), "133");
    EXPECT_EQ(fieldText(synthesis, 1034), "23");
    EXPECT_EQ(fieldText(synthesis, 1030), "456");
    EXPECT_EQ(fieldText(seeding, 1058), "98765");
    EXPECT_TRUE(checked(seeding, 1061));
    EXPECT_FALSE(checked(seeding, 1060));
    EXPECT_EQ(fieldText(view, 1050), "7");
    EXPECT_EQ(fieldText(synthesis, 1065), "Help");
    EXPECT_EQ(fieldText(seeding, 1029), "Close");
    // Opened at the editor's top-left corner, with the editor's icon.
    RECT editor, dialog;
    GetWindowRect(host->editorWindow(), &editor);
    GetWindowRect(lfo, &dialog);
    EXPECT_EQ(dialog.left, editor.left);
    EXPECT_EQ(dialog.top, editor.top);
    EXPECT_TRUE(SendMessageA(lfo, WM_GETICON, ICON_BIG, 0));
}

TEST_F(OptionDialogsGui, BpmIsLimitedAsItIsTypedAndTheLfoRateFollows)
{
    patch().localBpm = 120;
    HWND lfo = open(kSpeedLfo);
    ASSERT_TRUE(lfo);
    std::vector<int32_t> stored;
    type(lfo, 1071, "300", [&](size_t) { stored.push_back(patch().localBpm); });
    EXPECT_EQ(stored, (std::vector<int32_t>{30, 30, 250}));
    const float at250 = settings().lfoStep;
    stored.clear();
    type(lfo, 1071, "12", [&](size_t) { stored.push_back(patch().localBpm); });
    // 30 as soon as the 1 is typed.
    EXPECT_EQ(stored, (std::vector<int32_t>{30, 30}));
    EXPECT_NEAR(settings().lfoStep / at250, 30.0 / 250.0, 1e-5);
    // Leaving the field shows what was stored.
    leaveField(lfo, 1073);
    EXPECT_EQ(fieldText(lfo, 1071), "30");
}

TEST_F(OptionDialogsGui, MeasureButtonCyclesItsNineBitmapsAndTheRateFollows)
{
    patch().lfoMeasure = 0;
    patch().localBpm = 120;
    HWND lfo = open(kSpeedLfo);
    ASSERT_TRUE(lfo);
    HWND button = GetDlgItem(lfo, 1075);
    const double multiplier[9] = {0.25, 1 / 3.0, 0.5, 2 / 3.0, 1, 4 / 3.0, 2, 8 / 3.0, 4};
    std::vector<LRESULT> bitmaps;
    bitmaps.push_back(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0));
    click(lfo, 1075); // measure 1: the rate is recomputed from here on
    const double perMultiplier = settings().lfoStep / multiplier[1];
    for (int c = 1; c < 9; ++c) {
        EXPECT_EQ(patch().lfoMeasure, c);
        EXPECT_NEAR(settings().lfoStep / perMultiplier, multiplier[c], 1e-4) << "measure " << c;
        bitmaps.push_back(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0));
        click(lfo, 1075);
    }
    EXPECT_EQ(patch().lfoMeasure, 0);
    EXPECT_EQ(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0), bitmaps[0]);
    for (size_t i = 0; i < bitmaps.size(); ++i) {
        EXPECT_NE(bitmaps[i], 0);
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(bitmaps[i], bitmaps[j]) << i << " and " << j;
    }
}

TEST_F(OptionDialogsGui, SyncToHostDisablesTheBpmFieldAndShapeRadiosStore)
{
    patch().syncToHost = 0;
    patch().lfoSine = 1;
    HWND lfo = open(kSpeedLfo);
    ASSERT_TRUE(lfo);
    EXPECT_TRUE(enabled(lfo, 1071));
    EXPECT_TRUE(checked(lfo, 1073));
    click(lfo, 1074);
    EXPECT_EQ(patch().lfoSine, 0);
    click(lfo, 1073);
    EXPECT_EQ(patch().lfoSine, 1);
    click(lfo, 1072);
    EXPECT_FALSE(enabled(lfo, 1071));
    // The test host reports no tempo, so the audio code switches the sync
    // off again; the box only stores the flag.
    click(lfo, 1072);
    EXPECT_EQ(patch().syncToHost, 0);
    EXPECT_TRUE(enabled(lfo, 1071));
}

TEST_F(OptionDialogsGui, OscillatorZeroStoresNothingAndIsRestoredOnLeaving)
{
    patch().oscillatorCount = 16;
    HWND synthesis = open(kSynthesis);
    ASSERT_TRUE(synthesis);
    type(synthesis, 1034, "0");
    EXPECT_EQ(patch().oscillatorCount, 16);
    EXPECT_EQ(fieldText(synthesis, 1034), "0");
    leaveField(synthesis, 1030);
    EXPECT_EQ(fieldText(synthesis, 1034), "16");
    type(synthesis, 1034, "99");
    EXPECT_EQ(patch().oscillatorCount, 64);
    type(synthesis, 1032, "5000");
    EXPECT_EQ(patch().redistributionTime, 4000);
    type(synthesis, 1036, "250");
    EXPECT_EQ(patch().smoothingHalfLife, 250);
    leaveField(synthesis, 1052);
    EXPECT_EQ(fieldText(synthesis, 1034), "64");
}

TEST_F(OptionDialogsGui, SynthesisSwitchesStoreAndReachTheEngine)
{
    patch().phaseCorrelation = 1;
    patch().polyphonic = 1;
    patch().filterDepth = 1;
    patch().qwertyControl = 1;
    HWND synthesis = open(kSynthesis);
    ASSERT_TRUE(synthesis);
    EXPECT_TRUE(checked(synthesis, 1038));
    EXPECT_TRUE(checked(synthesis, 1069));
    click(synthesis, 1052);
    EXPECT_EQ(patch().phaseCorrelation, 0);
    EXPECT_FALSE(settings().phaseCorrelation);
    click(synthesis, 1037);
    EXPECT_EQ(patch().polyphonic, 0);
    click(synthesis, 1070);
    EXPECT_EQ(patch().filterDepth, 2);
    click(synthesis, 1068);
    EXPECT_EQ(patch().filterDepth, 0);
    click(synthesis, 1076);
    EXPECT_EQ(patch().qwertyControl, 0);
}

TEST_F(OptionDialogsGui, BaseSeedLimitsAndRandomReseedDisablesTheSeedControls)
{
    patch().reseedMode = 2;
    patch().seed = 4321;
    HWND seeding = open(kSeeding);
    ASSERT_TRUE(seeding);
    for (int id : {1058, 1056, 1057})
        EXPECT_TRUE(enabled(seeding, id)) << id;
    type(seeding, 1058, "-5");
    EXPECT_EQ(patch().seed, 0);
    type(seeding, 1058, "999999999");
    EXPECT_EQ(patch().seed, 134217727);
    leaveField(seeding, 1056);
    EXPECT_EQ(fieldText(seeding, 1058), "134217727");
    click(seeding, 1060); // random reseed
    EXPECT_EQ(patch().reseedMode, 1);
    EXPECT_EQ(settings().reseedMode, 1);
    for (int id : {1058, 1056, 1057})
        EXPECT_FALSE(enabled(seeding, id)) << id;
    click(seeding, 1059);
    EXPECT_EQ(settings().reseedMode, 0);
    EXPECT_FALSE(enabled(seeding, 1058));
    click(seeding, 1061);
    EXPECT_TRUE(enabled(seeding, 1058));
    click(seeding, 1056);
    EXPECT_EQ(patch().seedOnPitch, 1);
}

TEST_F(OptionDialogsGui, DraggingTheTopEntryToThirdPlaceSwapsTwice)
{
    const int32_t start[5] = {2, 1, 0, 3, 4};
    for (int i = 0; i < 5; ++i)
        patch().axisOrder[i] = start[i];
    patch().animateHyperspace = 1;
    HWND view = open(kVisualisation);
    ASSERT_TRUE(view);
    HWND list = GetDlgItem(view, 1046);
    EXPECT_EQ(listEntries(list), (std::vector<std::string>{"Pan", "Pitch", "Vol", "Res", "Noise"}));
    auto centre = [&](int item) {
        RECT r = {};
        SendMessageA(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
        return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, centre(0));
    host->pump(0);
    PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, centre(1));
    host->pump(0);
    EXPECT_EQ((std::vector<int32_t>(patch().axisOrder, patch().axisOrder + 5)),
              (std::vector<int32_t>{1, 2, 0, 3, 4}));
    PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, centre(2));
    host->pump(0);
    PostMessageA(list, WM_LBUTTONUP, 0, centre(2));
    host->pump(0);
    EXPECT_EQ(listEntries(list), (std::vector<std::string>{"Pitch", "Vol", "Pan", "Res", "Noise"}));
    EXPECT_EQ((std::vector<int32_t>(patch().axisOrder, patch().axisOrder + 5)),
              (std::vector<int32_t>{1, 0, 2, 3, 4}));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    // After the release, moving over the list changes nothing.
    PostMessageA(list, WM_MOUSEMOVE, 0, centre(4));
    host->pump(0);
    EXPECT_EQ(patch().axisOrder[2], 2);
}

TEST_F(OptionDialogsGui, VisualisationOptionsValidateTheOrderAndFollowTheAnimationSwitch)
{
    patch().axisOrder[0] = 9; // not a permutation: reset on open
    patch().animateHyperspace = 1;
    patch().animateKeyboard = 1;
    patch().wheelMapping = 1;
    patch().trailLength = 5;
    HWND view = open(kVisualisation);
    ASSERT_TRUE(view);
    EXPECT_EQ((std::vector<int32_t>(patch().axisOrder, patch().axisOrder + 5)),
              (std::vector<int32_t>{2, 1, 0, 3, 4}));
    EXPECT_TRUE(checked(view, 1061));
    click(view, 1049);
    EXPECT_EQ(patch().animateHyperspace, 0);
    for (int id : {1046, 1050, 1052, 1054})
        EXPECT_FALSE(enabled(view, id)) << id;
    click(view, 1049);
    for (int id : {1046, 1050, 1052, 1054})
        EXPECT_TRUE(enabled(view, id)) << id;
    type(view, 1050, "35");
    EXPECT_EQ(patch().trailLength, 20);
    type(view, 1052, "0");
    leaveField(view, 1054);
    EXPECT_EQ(fieldText(view, 1052), std::to_string(patch().trailWidth));
    click(view, 1051);
    EXPECT_EQ(patch().animateKeyboard, 0);
    click(view, 1062);
    EXPECT_EQ(patch().wheelMapping, 2);
    click(view, 1054);
    EXPECT_EQ(patch().showPins == 0, !checked(view, 1054));
}

TEST_F(OptionDialogsGui, OpeningAnOpenDialogOnlyRaisesIt)
{
    HWND first = open(kSeeding);
    ASSERT_TRUE(first);
    patch().seed = 777; // not shown: the dialog is not filled again
    HWND second = open(kSeeding);
    EXPECT_EQ(second, first);
    EXPECT_EQ(windows(kTitles[kSeeding]).size(), 1u);
    EXPECT_NE(fieldText(first, 1058), "777");
}

TEST_F(OptionDialogsGui, CloseButtonAndCloseBoxCloseTheDialog)
{
    HWND seeding = open(kSeeding);
    ASSERT_TRUE(seeding);
    click(seeding, 1029);
    host->pump(10);
    EXPECT_TRUE(windows(kTitles[kSeeding]).empty());
    HWND view = open(kVisualisation);
    ASSERT_TRUE(view);
    PostMessageA(view, WM_CLOSE, 0, 0);
    host->pump(10);
    EXPECT_TRUE(windows(kTitles[kVisualisation]).empty());
    // And they open again.
    EXPECT_TRUE(open(kSeeding));
}

TEST_F(OptionDialogsGui, AutomationRefreshesTheFieldsThatAreHostParameters)
{
    HWND synthesis = open(kSynthesis);
    HWND seeding = open(kSeeding);
    ASSERT_TRUE(synthesis && seeding);
    host->plugin().setParameter(19, 1.0f);
    host->plugin().setParameter(20, 0.0f);
    host->plugin().setParameter(21, 0.5f);
    host->pump(100);
    EXPECT_EQ(fieldText(synthesis, 1034), std::to_string(patch().oscillatorCount));
    EXPECT_EQ(fieldText(synthesis, 1030), std::to_string(patch().portamentoTime));
    EXPECT_EQ(fieldText(seeding, 1058), std::to_string(patch().seed));
    EXPECT_EQ(patch().oscillatorCount, 64);
}

TEST_F(OptionDialogsGui, AProgramChangeClosesTheOptionDialogs)
{
    for (int which : {kSynthesis, kSpeedLfo, kSeeding, kVisualisation})
        ASSERT_TRUE(open(which));
    host->plugin().dispatch(effSetProgram, 0, 3);
    host->pump(200);
    for (const char* title : kTitles)
        EXPECT_TRUE(windows(title).empty()) << title;
}

TEST_F(OptionDialogsGui, ClosingTheEditorClosesTheDialogsAndReopeningStartsClosed)
{
    for (int which : {kSynthesis, kSpeedLfo, kSeeding, kVisualisation})
        ASSERT_TRUE(open(which));
    host->close();
    host->pump(20);
    for (const char* title : kTitles)
        EXPECT_TRUE(windows(title).empty()) << title;
    std::string error;
    ASSERT_TRUE(host->open(error)) << error;
    host->pump(50);
    for (const char* title : kTitles)
        EXPECT_TRUE(windows(title).empty()) << title;
    EXPECT_TRUE(open(kSpeedLfo));
}

TEST_F(OptionDialogsGui, HelpButtonsAskTheViewerForTheirPagesOfTheHelpFile)
{
    // No help was asked for yet in this plug-in session, so it binds the
    // viewer at the first press: the stand-in registered now records it.
    HelpRecorder recorder;
    ASSERT_TRUE(recorder.ready());
    ChmListing manual;
    std::string error;
    ASSERT_TRUE(manual.load(HelpRecorder::inTestFolder("Nimbulator.chm"), error)) << error;
    const char* const topics[] = {"SynthesisOptions.htm", "SpeedLFODialog.htm",
                                  "DeterminismSeeding.htm", "VisualisationOptions.htm"};
    for (int which : {kSynthesis, kSpeedLfo, kSeeding, kVisualisation}) {
        HWND dialog = open(which);
        ASSERT_TRUE(dialog) << kTitles[which];
        recorder.clear();
        click(dialog, 1065);
        const std::vector<HelpRecorder::Request> requests = recorder.requests();
        ASSERT_EQ(requests.size(), 1u) << kTitles[which];
        EXPECT_EQ(requests[0].topic, topics[which]);
        EXPECT_TRUE(manual.hasTopic(requests[0].topic)) << requests[0].topic;
        EXPECT_EQ(requests[0].command, 0u); // display a topic
        // The viewer's window belongs to the dialog, and the file is the
        // installed help file, as for the editor's Help menu.
        EXPECT_EQ(requests[0].owner, dialog) << kTitles[which];
        const std::string installed = "\\Orvalend\\Nimbulator\\Nimbulator.CHM";
        ASSERT_GT(requests[0].file.size(), installed.size());
        EXPECT_EQ(requests[0].file.substr(requests[0].file.size() - installed.size()), installed);
        // The dialog stays open and usable after asking for help.
        EXPECT_TRUE(IsWindowVisible(dialog)) << kTitles[which];
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        host->pump(10);
    }
}

// Pictures of the four dialogs as a user sees them. With
// OPTION_DIALOG_SHOTS naming a folder, each is also written there as a PNG
// (scripts/manual-screenshots.sh uses them for the manual).
TEST_F(OptionDialogsGui, DialogsShowTheirPictures)
{
    patch().lfoMeasure = 4;
    patch().animateHyperspace = 1;
    patch().reseedMode = 2;
    const char* folder = std::getenv("OPTION_DIALOG_SHOTS");
    const char* const files[] = {"SynthesisOptions.png", "SpeedLFODialog.png",
                                 "DeterminismSeeding.png", "VisualisationOptions.png"};
    for (int which : {kSynthesis, kSpeedLfo, kSeeding, kVisualisation}) {
        HWND dialog = open(which);
        ASSERT_TRUE(dialog);
        SetForegroundWindow(dialog);
        SetFocus(GetDlgItem(dialog, 1029));
        host->pump(150);
        const RgbImage shot = captureWindow(dialog);
        ASSERT_GT(shot.width, 100);
        // The build's pictures are dark wells: the measure button and the
        // axis legend show them.
        int well = 0;
        for (uint32_t px : shot.pixels)
            well += px == RgbImage::rgb(18, 21, 25);
        if (which == kSpeedLfo || which == kVisualisation)
            EXPECT_GT(well, 500) << kTitles[which];
        else
            EXPECT_EQ(well, 0) << kTitles[which];
        if (folder) {
            std::string error;
            EXPECT_TRUE(PngEncoder::write(shot, std::string(folder) + "/" + files[which], error))
                << error;
        }
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        host->pump(10);
    }
}
