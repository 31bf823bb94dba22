// The editor's menus and help in the real instrument under a host that
// renders audio beside the editor, driven by window messages: the Presets
// menu with and without the preset maker loaded, loading a preset, the
// Options menu's reset and random patch, the context menus and "Reset
// envelope", the About box, and every help request recorded by a stand-in
// help viewer (HelpRecorder) registered in the test's Wine prefix, each
// topic checked against the pages of the help file the build compiled.
#include "CKnob.h"
#include "ChmListing.h"
#include "EditorHost.h"
#include "EditorLayout.h"
#include "FactoryBank.h"
#include "HelpRecorder.h"
#include "Oscillator.h"
#include "Patch.h"
#include "PluginFiles.h"
#include "SynthInterface.h"
#include "VstXSynth.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
const char* const kPlugin = PLUGIN_FILE("nimbulator");
const char* const kPresetMaker = "Nimbulator Patchforger.dll";
const int kPresets = 1027, kOptions = 1028, kHelp = 1029;

// The help file's path as the plug-in should find it in this prefix: Wine
// has no value under the system file checker's key, so CurrentVersion's.
std::string expectedHelpFile()
{
    char folder[MAX_PATH] = "c:\\Program Files";
    DWORD size = sizeof folder;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, "ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(folder),
                         &size);
        RegCloseKey(key);
    }
    return std::string(folder) + "\\Orvalend\\Nimbulator\\Nimbulator.CHM";
}

class MenuGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCursorPos(4000, 4000);
        openHost();
    }
    void TearDown() override
    {
        if (host) {
            EXPECT_TRUE(host->faults().empty()) << host->faults()[0];
            for (int note : held)
                host->audio().noteOff(note);
        }
        host.reset();
    }
    void openHost()
    {
        std::string error;
        host = EditorHost::load(kPlugin, error);
        ASSERT_TRUE(host) << error;
        synth = static_cast<VstXSynth*>(static_cast<AudioEffect*>(host->plugin().effect()->object));
        ASSERT_TRUE(host->open(error)) << error;
        host->pump(50);
    }
    SynthInterface& synthInterface() { return *static_cast<SynthInterface*>(synth); }
    Patch& patch() { return *synthInterface().getCurrentProgram(); }

    // Presses a menu button, chooses `position` (-1 dismisses) and returns
    // the menu's items.
    std::vector<std::string> buttonMenu(int button, int position)
    {
        host->modal().chooseMenuItem(position);
        host->mouseDown(button, 5, 5);
        host->mouseUp(button, 5, 5);
        EXPECT_TRUE(host->finishModal()) << button;
        return host->modal().menuItems();
    }
    // Right-clicks control `id` at x, y and chooses `position`.
    std::vector<std::string> contextMenu(int id, int x, int y, int position)
    {
        host->modal().chooseMenuItem(position);
        host->rightClick(id, x, y);
        EXPECT_TRUE(host->finishModal()) << id;
        return host->modal().menuItems();
    }
    // A point of control `id` that presses nothing but the control itself:
    // a corner, away from envelope points and the flock view's box.
    static POINT quietPoint(int id)
    {
        if (id == 1045)
            return {3, 366};
        return {3, 3};
    }
    int sounding()
    {
        int n = 0;
        Oscillator* oscillators = synthInterface().getOscillators();
        for (int i = 0; i < kMaxOscillators; ++i)
            n += oscillators[i].voice != nullptr;
        return n;
    }
    CKnob* knob(int id)
    {
        return reinterpret_cast<CKnob*>(GetWindowLongPtrA(host->control(id), GWLP_USERDATA));
    }
    HWND aboutBox() { return FindWindowA("#32770", "About Nimbulator"); }

    std::unique_ptr<EditorHost> host;
    VstXSynth* synth = nullptr;
    std::vector<int> held;
    static const int kMaxOscillators = 64;
};

// The client area of a top-level window as shown.
RgbImage captureWindow(HWND window)
{
    return EditorHost::captureWindow(window);
}

std::vector<std::string> bankNames()
{
    std::vector<std::string> names;
    for (int i = 0; i < FactoryBank::count(); ++i)
        names.push_back(FactoryBank::name(i));
    return names;
}

TEST_F(MenuGui, PresetsMenuHoldsTheBankAndExportOnlyWhileThePresetMakerIsLoaded)
{
    ASSERT_EQ(GetModuleHandleA(kPresetMaker), nullptr);
    EXPECT_EQ(buttonMenu(kPresets, -1), bankNames());

    // The module is looked for when the editor opens.
    HMODULE maker = LoadLibraryA(kPresetMaker);
    ASSERT_TRUE(maker);
    EXPECT_EQ(buttonMenu(kPresets, -1).size(), 45u);
    host->close();
    std::string error;
    ASSERT_TRUE(host->open(error)) << error;
    std::vector<std::string> items = bankNames();
    items.push_back("-");
    items.push_back("EXPORT NEW PRESET");
    const std::vector<uint8_t> before = host->chunk();
    // The export asks for a file name first; cancelled, it writes nothing.
    ModalDriver saveDialog;
    std::string title;
    saveDialog.handleNext("#32770", [&title](HWND d) {
        title = ModalDriver::windowText(d);
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    EXPECT_EQ(buttonMenu(kPresets, 46), items);
    for (int i = 0; i < 500 && !saveDialog.done(); ++i)
        host->pump(10);
    EXPECT_TRUE(saveDialog.join());
    EXPECT_EQ(title, "export preset patch");
    EXPECT_EQ(host->chunk(), before); // the export leaves the program alone
    host->close();
    FreeLibrary(maker);
    ASSERT_TRUE(host->open(error)) << error;
    EXPECT_EQ(buttonMenu(kPresets, -1).size(), 45u);
}

TEST_F(MenuGui, ChoosingAPresetLoadsItAndRefreshesTheKnobs)
{
    for (int preset : {7, 30}) {
        knob(1022)->setValue(-777);
        knob(1046)->setValue(-777);
        buttonMenu(kPresets, preset);
        const Patch& record = FactoryBank::record(preset);
        EXPECT_STREQ(patch().name, record.name);
        EXPECT_EQ(patch().attract, record.attract);
        EXPECT_EQ(0, std::memcmp(patch().envelopes, record.envelopes, sizeof record.envelopes));
        host->pump(150); // the full refresh is served by idle
        EXPECT_EQ(knob(1022)->getValue(), record.volumeHome) << preset;
        EXPECT_EQ(knob(1046)->getValue(), record.attract) << preset;
    }
    // A dismissed menu loads nothing.
    const std::vector<uint8_t> before = host->chunk();
    buttonMenu(kPresets, -1);
    EXPECT_EQ(host->chunk(), before);
}

TEST_F(MenuGui, OptionsMenuEntriesAndTheRandomPatch)
{
    const std::vector<std::string> expected = {
        "Synthesis",     "Speed LFO", "Midi Controller Map", "Determinism seeding", "-",
        "Visualisation", "-",         "Reset Devices",       "<zorvex button>"};
    const std::vector<uint8_t> before = host->chunk();
    knob(1047)->setValue(-777);
    // Synthesis, speed LFO, seeding and visualisation are open: the random
    // patch closes them before it changes the program they show.
    for (int position : {0, 1, 3, 5})
        buttonMenu(kOptions, position);
    host->pump(50);
    EXPECT_EQ(ModalDriver::windowsOfClass("#32770").size(), 4u);
    EXPECT_EQ(buttonMenu(kOptions, 8), expected);
    EXPECT_TRUE(ModalDriver::windowsOfClass("#32770").empty());
    const std::vector<uint8_t> after = host->chunk();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_NE(after, before);
    host->pump(150); // the full refresh is served by idle
    EXPECT_EQ(knob(1047)->getValue(), patch().repel);
}

TEST_F(MenuGui, ResetDevicesSilencesAtOnce)
{
    for (int note : {48, 60, 67}) {
        host->audio().noteOn(note, 110);
        held.push_back(note);
    }
    host->pump(300);
    ASSERT_GT(sounding(), 0);
    ASSERT_GT(host->audio().lastBlockPeak(), 0.0f);
    buttonMenu(kOptions, 7);
    EXPECT_EQ(sounding(), 0); // before any further block
    host->pump(150);
    EXPECT_EQ(sounding(), 0);
    EXPECT_LT(host->audio().lastBlockPeak(), 1e-4f);
}

TEST_F(MenuGui, HomeEnvelopeContextMenuOffersResetOnlyOnceADimensionIsSelected)
{
    const std::vector<std::string> whatsThis = {"What's this?"};
    const std::vector<std::string> withReset = {"What's this?", "-", "Reset envelope"};
    EXPECT_EQ(contextMenu(1024, 3, 3, -1), whatsThis);
    EXPECT_EQ(contextMenu(1025, 3, 3, -1), whatsThis);

    // Press the pan home knob: pan is selected.
    host->mouseDown(1031, 20, 20);
    host->mouseUp(1031, 20, 20);
    host->pump(50);
    PatchEnvelope& pan = patch().envelopes[kPanEnv];
    pan.pointCount = 2;
    pan.pointLevel[0] = pan.pointLevel[1] = 0.9f;
    pan.sustainLevel = 0.1f;
    pan.attackTime = 3.0f;
    PatchEnvelope expected = pan;
    resetEnvelope(expected, true, false);
    EXPECT_EQ(contextMenu(1024, 3, 3, 2), withReset);
    EXPECT_EQ(0, std::memcmp(&pan, &expected, sizeof pan));

    PatchEnvelope& panRange = patch().envelopes[kPanRangeEnv];
    panRange.pointCount = 2;
    panRange.releaseLevel = 0.25f;
    expected = panRange;
    resetEnvelope(expected, false, false);
    EXPECT_EQ(contextMenu(1025, 3, 3, 2), withReset);
    EXPECT_EQ(0, std::memcmp(&panRange, &expected, sizeof panRange));
}

TEST_F(MenuGui, ResetEnvelopeOnTheSpeedEnvelopeResetsIt)
{
    PatchEnvelope& speed = patch().envelopes[kSpeedEnv];
    speed.pointCount = 2;
    speed.pointLevel[0] = 0.2f;
    speed.pointLevel[1] = 0.3f;
    speed.sustainLevel = 0.4f;
    speed.releaseTime = 4.0f;
    PatchEnvelope expected = speed;
    resetEnvelope(expected, false, false);
    const std::vector<std::string> items = contextMenu(1026, 3, 3, 2);
    EXPECT_EQ(items, (std::vector<std::string>{"What's this?", "-", "Reset envelope"}));
    EXPECT_EQ(0, std::memcmp(&speed, &expected, sizeof speed));
    EXPECT_FLOAT_EQ(speed.pointLevel[0], 1.0f);
}

TEST_F(MenuGui, FlockViewContextMenuOffersItsOptions)
{
    const POINT p = quietPoint(1045);
    EXPECT_EQ(contextMenu(1045, p.x, p.y, 2),
              (std::vector<std::string>{"What's this?", "-", "Visualisation options"}));
}

TEST_F(MenuGui, AboutBoxShowsTitleProductAndClosesWithItsButton)
{
    EXPECT_EQ(buttonMenu(kHelp, 1), (std::vector<std::string>{"Help", "About"}));
    HWND about = aboutBox();
    ASSERT_TRUE(about);
    EXPECT_EQ(GetWindow(about, GW_OWNER), host->window());
    HBITMAP title =
        reinterpret_cast<HBITMAP>(SendDlgItemMessageA(about, 1002, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_TRUE(title);
    BITMAP info = {};
    ASSERT_TRUE(GetObjectA(title, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 258);
    EXPECT_EQ(info.bmHeight, 75);
    char text[100] = {};
    GetDlgItemTextA(about, 1001, text, sizeof text);
    EXPECT_NE(std::strstr(text, "Nimbulator"), nullptr) << text;
    EXPECT_NE(std::strstr(text, "1.01"), nullptr) << text;
    RECT units = {0, 0, 204, 170}, client = {};
    MapDialogRect(about, &units);
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);

    // The picture is drawn: inside its control the dark panel of the art,
    // not the dialog's face colour.
    host->pump(100);
    RECT picture;
    GetWindowRect(GetDlgItem(about, 1002), &picture);
    MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&picture), 2);
    const RgbImage shown = captureWindow(about);
    const int cx = (picture.left + picture.right) / 2, cy = (picture.top + picture.bottom) / 2;
    const uint32_t face = GetSysColor(COLOR_BTNFACE);
    const uint32_t faceRgb = RgbImage::rgb(GetRValue(face), GetGValue(face), GetBValue(face));
    int dark = 0;
    for (int y = picture.top; y < picture.bottom; y += 3)
        for (int x = cx - 100; x < cx + 100; x += 3) {
            const uint32_t pixel = shown.at(x, y);
            dark += pixel != faceRgb && ((pixel >> 16) & 0xFF) < 80 && (pixel & 0xFF) < 90;
        }
    EXPECT_GT(dark, 500) << cx << "," << cy;

    // Asked again, the open box is raised, not doubled.
    buttonMenu(kHelp, 1);
    EXPECT_EQ(ModalDriver::windowsOfClass("#32770").size(), 1u);
    SendMessageA(GetDlgItem(about, 1029), BM_CLICK, 0, 0);
    host->pump(50);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_EQ(aboutBox(), nullptr);

    // Closing the editor closes the box.
    buttonMenu(kHelp, 1);
    ASSERT_TRUE(aboutBox());
    host->close();
    EXPECT_EQ(aboutBox(), nullptr);
}

TEST_F(MenuGui, HelpMenuAndWhatsThisRequestTheirTopics)
{
    // A fresh plug-in binds the viewer at its first request, so register the
    // stand-in before asking: close this session's plug-in first.
    host.reset();
    HelpRecorder recorder;
    ASSERT_TRUE(recorder.ready());
    openHost();
    const std::string file = expectedHelpFile();
    // The help file built beside the plug-in, which the installer puts there.
    ChmListing manual;
    std::string error;
    ASSERT_TRUE(manual.load(HelpRecorder::inTestFolder("Nimbulator.chm"), error)) << error;

    buttonMenu(kHelp, 0);
    std::vector<HelpRecorder::Request> requests = recorder.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].topic, "Welcome.htm");
    EXPECT_TRUE(manual.hasTopic(requests[0].topic));
    EXPECT_EQ(requests[0].file, file);
    EXPECT_EQ(requests[0].command, 0u);
    EXPECT_EQ(requests[0].owner, host->window());

    struct Expected {
        int id;
        const char* topic;
    };
    const Expected topics[] = {
        {1020, "Welcome.htm"},
        {1022, "HomePositions.htm"},
        {1037, "HomePositions.htm"},
        {1038, "HomePositions.htm"},
        {1039, "HomePositions.htm"},
        {1036, "ParameterRanges.htm"},
        {1040, "ParameterRanges.htm"},
        {1024, "HomePositionEnvelopes.htm"},
        {1025, "ParameterRangeEnvelopes.htm"},
        {1026, "IndividualOscillatorMovement.htm"},
        {1043, "IndividualOscillatorMovement.htm"},
        {1051, "IndividualOscillatorMovement.htm"},
        {1046, "HyperspaceFlockingBehaviour.htm"},
        {1048, "HyperspaceFlockingBehaviour.htm"},
        {1041, "Additional Processing.htm"},
        {1050, "Additional Processing.htm"},
        {1045, "HyperspaceVisualisation.htm"},
    };
    for (const Expected& e : topics) {
        recorder.clear();
        const POINT p = quietPoint(e.id);
        contextMenu(e.id, p.x, p.y, 0);
        requests = recorder.requests();
        ASSERT_EQ(requests.size(), 1u) << e.id;
        EXPECT_EQ(requests[0].topic, e.topic) << e.id;
        EXPECT_TRUE(manual.hasTopic(requests[0].topic)) << e.id;
        EXPECT_EQ(requests[0].file, file) << e.id;
        EXPECT_EQ(requests[0].owner, host->window()) << e.id;
    }
    // Every control of the window answers "What's this?" with one request
    // for a page of the help file.
    for (const EditorLayout::ControlPlace& control : EditorLayout::controls) {
        recorder.clear();
        const POINT p = quietPoint(control.id);
        contextMenu(control.id, p.x, p.y, 0);
        requests = recorder.requests();
        ASSERT_EQ(requests.size(), 1u) << control.id;
        EXPECT_TRUE(manual.hasTopic(requests[0].topic))
            << control.id << " asks for \"" << requests[0].topic << "\"";
    }
}

TEST_F(MenuGui, FailedViewerBindingIsNotRetriedAndShowsNothing)
{
    host.reset();
    // The plug-in must be a fresh load, whose viewer is not bound yet.
    ASSERT_EQ(GetModuleHandleA(kPlugin), nullptr);
    // A registered library without the help function: the binding fails.
    HelpRecorder recorder(kPresetMaker);
    ASSERT_TRUE(recorder.ready());
    openHost();
    const size_t windows = ModalDriver::windowsOfClass("#32770").size();
    buttonMenu(kHelp, 0);
    contextMenu(1022, 3, 3, 0);
    EXPECT_TRUE(recorder.requests().empty());
    // A working viewer registered now is not tried: the failure stands.
    recorder.reregister("helprecorder.dll");
    buttonMenu(kHelp, 0);
    contextMenu(1046, 3, 3, 0);
    EXPECT_TRUE(recorder.requests().empty());
    EXPECT_EQ(ModalDriver::windowsOfClass("#32770").size(), windows);
    host->pump(100);
}
} // namespace
