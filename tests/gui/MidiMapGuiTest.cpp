// The MIDI controller map dialog, the preset export and MIDI learn in the
// real instrument under a host that renders audio beside the editor: lines
// and the parameter pop-up driven with real window messages, the pitch-bend
// box typed into, the factory-defaults question answered both ways, the
// 50 ms guard after a pop-up, map files through the system's file dialogs,
// a program exported through the save dialog, and a knob learning a
// controller sent to the audio thread.
#include "EditorHost.h"
#include "Patch.h"
#include "PluginFiles.h"
#include "SynthInterface.h"
#include "VstXSynth.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {
const char* const kPlugin = PLUGIN_FILE("nimbulator");
const char* const kTitle = "Nimbulator - MIDI controller map";
const int kOptionsButton = 1028, kPresetsButton = 1027, kAttractKnob = 1046;
const int kList = 1061, kSave = 1062, kLoad = 1063, kDefaults = 1064, kPitchBend = 1066;
const int kClose = 1029;
const int kAttract = 13;
const int kFileNameCombo = 0x47C, kFileNameEdit = 0x480; // cmb13, edt1

std::vector<unsigned char> readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file),
                                      std::istreambuf_iterator<char>());
}

// Types `path` into a file dialog's name box and presses its OK button
// (from the driver thread, with cross-thread-safe calls only).
void answerFileDialog(HWND dialog, const std::string& path, std::string* shown)
{
    HWND name = nullptr;
    for (int tries = 0; tries < 100 && !name; ++tries) {
        name = GetDlgItem(dialog, kFileNameCombo);
        if (!name)
            name = GetDlgItem(dialog, kFileNameEdit);
        if (!name)
            Sleep(20);
    }
    Sleep(200); // the dialog fills its name box after it shows
    if (shown)
        *shown = ModalDriver::windowText(name);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                        SMTO_ABORTIFHUNG, 2000, &result);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

class MidiMapGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCursorPos(300, 300);
        std::string error;
        host = EditorHost::load(kPlugin, error);
        ASSERT_TRUE(host) << error;
        synth = static_cast<VstXSynth*>(static_cast<AudioEffect*>(host->plugin().effect()->object));
        ASSERT_TRUE(host->open(error)) << error;
        host->pump(100);
    }
    void TearDown() override
    {
        if (host) {
            EXPECT_TRUE(host->faults().empty()) << host->faults()[0];
        }
        host.reset();
    }

    Patch& patch() { return *static_cast<SynthInterface*>(synth)->getCurrentProgram(); }

    // Opens the dialog from the Options menu (position 2).
    void openDialog()
    {
        host->modal().chooseMenuItem(2);
        host->mouseDown(kOptionsButton, 5, 5);
        ASSERT_TRUE(host->finishModal());
        host->mouseUp(kOptionsButton, 5, 5);
        host->pump(50);
        dialog = FindWindowA("#32770", kTitle);
        ASSERT_TRUE(dialog);
        list = GetDlgItem(dialog, kList);
        ASSERT_TRUE(list);
    }

    std::string line(int index)
    {
        char text[256] = "";
        if (SendMessageA(list, LB_GETTEXTLEN, index, 0) < 255)
            SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
        return text;
    }

    // A left press on line `index` (scrolled into view) as the list box gets it.
    void pressLine(int index)
    {
        SendMessageA(list, LB_SETTOPINDEX, index, 0);
        RECT r;
        SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        host->pump(0);
        PostMessageA(list, WM_LBUTTONUP, 0, at);
        host->pump(0);
    }
    // Chooses pop-up position `position` for line `index`; true when a
    // pop-up opened and was answered.
    bool choose(int index, int position, int timeoutMs = 5000)
    {
        host->modal().chooseMenuItem(position, timeoutMs);
        SendMessageA(list, LB_SETTOPINDEX, index, 0);
        RECT r;
        SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        const bool answered = host->finishModal(timeoutMs + 500);
        PostMessageA(list, WM_LBUTTONUP, 0, at);
        host->pump(0);
        return answered;
    }
    // Types into the pitch-bend box (each character a change notification).
    void typePitchBend(const char* text)
    {
        HWND box = GetDlgItem(dialog, kPitchBend);
        SetFocus(box);
        SendMessageA(box, EM_SETSEL, 0, -1);
        SendMessageA(box, WM_CLEAR, 0, 0);
        for (const char* c = text; *c; ++c)
            SendMessageA(box, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(*c)), 1);
        host->pump(0);
    }
    std::string pitchBendText()
    {
        char text[64] = "";
        GetDlgItemTextA(dialog, kPitchBend, text, sizeof text);
        return text;
    }
    void click(int id)
    {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }

    std::unique_ptr<EditorHost> host;
    VstXSynth* synth = nullptr;
    HWND dialog = nullptr;
    HWND list = nullptr;
};
} // namespace

TEST_F(MidiMapGui, ListsControllers0To119AndThePopupStoresTheChosenParameter)
{
    openDialog();
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 120);
    EXPECT_EQ(line(7), "        7       ->        Volume home position");
    EXPECT_EQ(line(2), "        2");
    EXPECT_EQ(line(119), "        119");
    EXPECT_EQ(pitchBendText(), "2");

    // The pop-up lists "<none>", a separator and the 101 long names, with
    // the controller's parameter checked.
    host->modal().handleNext("#32768", [](HWND menuWindow) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(menuWindow, 0x01E1, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
        HMENU menu = reinterpret_cast<HMENU>(result);
        const bool right = menu && GetMenuItemCount(menu) == 103 &&
                           (GetMenuState(menu, 2, MF_BYPOSITION) & MF_CHECKED) &&
                           !(GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED);
        PostMessageA(menuWindow, WM_KEYDOWN, right ? VK_ESCAPE : VK_ESCAPE, 1);
        if (!right)
            std::fprintf(stderr, "pop-up items or check mark wrong\n");
        EXPECT_TRUE(right);
    });
    pressLine(7);
    ASSERT_TRUE(host->finishModal());
    EXPECT_EQ(patch().midiMap[7], 0); // dismissed: nothing changes
    host->pump(120);

    ASSERT_TRUE(choose(7, 0)); // "<none>"
    EXPECT_EQ(patch().midiMap[7], -1);
    EXPECT_EQ(line(7), "        7");
    host->pump(120);
    ASSERT_TRUE(choose(2, 102)); // the last item
    EXPECT_EQ(host->modal().menuItems().size(), 103u);
    EXPECT_EQ(host->modal().menuItems()[0], "<none>");
    EXPECT_EQ(host->modal().menuItems()[1], "-");
    EXPECT_EQ(host->modal().menuItems()[102], "Speed envelope release level");
    EXPECT_EQ(patch().midiMap[2], 100);
    EXPECT_EQ(line(2), "        2       ->        Speed envelope release level");
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 120);
    EXPECT_EQ(SendMessageA(list, LB_GETCARETINDEX, 0, 0), 2);
}

TEST_F(MidiMapGui, ASecondClickWithin50MsOfAPopupOpensNone)
{
    openDialog();
    ASSERT_TRUE(choose(20, 2 + 40));
    EXPECT_EQ(patch().midiMap[20], 40);
    // The guard's timer message comes only when nothing else is queued, so
    // this press is handled inside the 50 ms.
    EXPECT_FALSE(choose(21, 2 + 41, 600));
    EXPECT_EQ(patch().midiMap[21], 13); // factory default: unchanged
    host->pump(150);
    ASSERT_TRUE(choose(21, 2 + 41));
    EXPECT_EQ(patch().midiMap[21], 41);
}

TEST_F(MidiMapGui, PitchBendBoxStoresAsTypedAndShowsTheStoredValueAfterFocusLoss)
{
    openDialog();
    typePitchBend("30");
    EXPECT_EQ(patch().pitchBendRange, 24); // at once
    EXPECT_EQ(pitchBendText(), "30");      // left as typed
    SetFocus(list);
    host->pump(20);
    EXPECT_EQ(pitchBendText(), "24");
    typePitchBend("-3");
    EXPECT_EQ(patch().pitchBendRange, 0);
    typePitchBend("7");
    EXPECT_EQ(patch().pitchBendRange, 7);
    typePitchBend("abc");
    EXPECT_EQ(patch().pitchBendRange, 0);
    SetFocus(list);
    host->pump(20);
    EXPECT_EQ(pitchBendText(), "0");
}

TEST_F(MidiMapGui, FactoryDefaultsAskFirstAndLeaveThePitchBendRange)
{
    openDialog();
    patch().midiMap[7] = 50;
    patch().midiMap[3] = 9;
    patch().pitchBendRange = 12;
    std::vector<int32_t> before(patch().midiMap, patch().midiMap + kMidiMapSize);

    host->modal().answerMessageBox(IDNO);
    click(kDefaults);
    ASSERT_TRUE(host->finishModal());
    EXPECT_EQ(host->modal().messageText(), "Reset to the factory-default\nMIDI controller map?");
    EXPECT_EQ(std::vector<int32_t>(patch().midiMap, patch().midiMap + kMidiMapSize), before);

    host->modal().answerMessageBox(IDYES);
    click(kDefaults);
    ASSERT_TRUE(host->finishModal());
    host->pump(20);
    EXPECT_EQ(patch().midiMap[7], 0);
    EXPECT_EQ(patch().midiMap[3], -1);
    EXPECT_EQ(patch().pitchBendRange, 12);
    EXPECT_EQ(line(7), "        7       ->        Volume home position");
    EXPECT_EQ(line(3), "        3");
}

TEST_F(MidiMapGui, MapFilesRoundTripThroughTheFileDialogs)
{
    openDialog();
    const std::string path = "midimap-gui-test.nbm";
    std::remove(path.c_str());
    ASSERT_TRUE(choose(9, 2 + 50));
    host->modal().handleNext("#32770", [path](HWND d) { answerFileDialog(d, path, nullptr); });
    click(kSave);
    ASSERT_TRUE(host->finishModal());
    host->pump(50);
    const std::vector<unsigned char> bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 510u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 30), "Nimbulator MIDI controller map");

    host->pump(120);
    ASSERT_TRUE(choose(9, 0));
    EXPECT_EQ(patch().midiMap[9], -1);
    host->modal().handleNext("#32770", [path](HWND d) { answerFileDialog(d, path, nullptr); });
    click(kLoad);
    ASSERT_TRUE(host->finishModal());
    host->pump(50);
    EXPECT_EQ(patch().midiMap[9], 50);
    char name[64] = "";
    static_cast<SynthInterface*>(synth)->getParameterLongName(50, name);
    EXPECT_EQ(line(9), std::string("        9       ->        ") + name);
    std::remove(path.c_str());
}

TEST_F(MidiMapGui, AProgramChangeClosesTheDialog)
{
    openDialog();
    host->plugin().dispatch(effSetProgram, 0, 4);
    host->pump(100);
    EXPECT_FALSE(IsWindow(dialog));
    openDialog();
    EXPECT_EQ(line(7), "        7       ->        Volume home position");
    click(kClose);
    host->pump(20);
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(MidiMapGui, AKnobLearnsTheNextControllerAndTheDialogShowsIt)
{
    // A new patch drives Attract from controller 21 already, so "Forget"
    // is offered too.
    host->modal().chooseMenuItem(2); // "What's this?", separator, "Learn MIDI controller"
    host->rightClick(kAttractKnob, 10, 10);
    ASSERT_TRUE(host->finishModal());
    const std::vector<std::string> items = host->modal().menuItems();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0], "What's this?");
    EXPECT_EQ(items[1], "-");
    EXPECT_EQ(items[2], "Learn MIDI controller");
    EXPECT_EQ(items[3], "Forget MIDI controller");
    EXPECT_EQ(static_cast<SynthInterface*>(synth)->learningParameter(), kAttract);

    host->audio().sendMidi(0xB0, 40, 127);
    host->pump(200);
    EXPECT_EQ(patch().midiMap[40], kAttract);
    EXPECT_FLOAT_EQ(host->plugin().getParameter(kAttract), 1.0f);
    host->audio().sendMidi(0xB0, 40, 0);
    host->pump(200);
    EXPECT_FLOAT_EQ(host->plugin().getParameter(kAttract), 0.0f);

    openDialog();
    EXPECT_EQ(line(40), "        40       ->        Attraction steering amount");
    const std::vector<uint8_t> chunk = host->chunk();
    ASSERT_EQ(chunk.size(), 1908u);
    int32_t entry;
    std::memcpy(&entry, chunk.data() + 1368 + 40 * 4, 4);
    EXPECT_EQ(entry, kAttract);

    // "Forget" unmaps every controller of the knob (the dialog follows).
    host->modal().chooseMenuItem(3);
    host->rightClick(kAttractKnob, 10, 10);
    ASSERT_TRUE(host->finishModal());
    EXPECT_EQ(patch().midiMap[40], -1);
    EXPECT_EQ(patch().midiMap[21], -1);
    EXPECT_EQ(line(40), "        40");
    EXPECT_EQ(line(21), "        21");
    host->modal().chooseMenuItem(-1);
    host->rightClick(kAttractKnob, 10, 10);
    ASSERT_TRUE(host->finishModal());
    EXPECT_EQ(host->modal().menuItems().size(), 3u);

    // Learning, then closing the editor, cancels.
    host->modal().chooseMenuItem(2);
    host->rightClick(kAttractKnob, 10, 10);
    ASSERT_TRUE(host->finishModal());
    host->close();
    EXPECT_EQ(static_cast<SynthInterface*>(synth)->learningParameter(), -1);
}

TEST_F(MidiMapGui, TheTuneKnobsAndOtherControlsKeepTheirContextMenus)
{
    for (int id : {1037, 1020, 1045}) {
        host->modal().chooseMenuItem(-1);
        host->rightClick(id, 5, 5);
        ASSERT_TRUE(host->finishModal());
        const std::vector<std::string> items = host->modal().menuItems();
        ASSERT_FALSE(items.empty()) << id;
        for (const std::string& item : items)
            EXPECT_EQ(item.find("MIDI controller"), std::string::npos) << id;
    }
}
