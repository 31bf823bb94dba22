// The MIDI controller map dialog, the preset export and MIDI learn in the
// real instrument under a host that renders audio beside the editor: lines
// and the parameter pop-up driven with real window messages, the pitch-bend
// box typed into, the factory-defaults question answered both ways, the
// 50 ms guard after a pop-up, map files through the system's file dialogs,
// a program exported through the save dialog, and a knob learning a
// controller sent to the audio thread.
#include "ChmListing.h"
#include "EditorHost.h"
#include "FactoryBank.h"
#include "HelpRecorder.h"
#include "Patch.h"
#include "PluginFiles.h"
#include "PngEncoder.h"
#include "SynthInterface.h"
#include "VstXSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
const int kHelp = 1065;
const char* const kPresetMaker = "Nimbulator Patchforger.dll";

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

// Presses the default answer of each message box that opens after the
// file dialog `after` was answered (Yes to a question, else OK), up to
// `count` boxes, keeping their texts; from the driver thread.
void answerMessageBoxes(HWND after, int count, std::vector<std::string>* texts)
{
    // Every window open now (the file dialog, the map dialog) is not one.
    std::vector<HWND> seen = ModalDriver::windowsOfClass("#32770");
    seen.push_back(after);
    for (int tries = 0; tries < 300 && count > 0; ++tries) {
        for (HWND box : ModalDriver::windowsOfClass("#32770")) {
            if (std::find(seen.begin(), seen.end(), box) != seen.end() || !GetDlgItem(box, 0xFFFF))
                continue;
            seen.push_back(box);
            if (texts)
                texts->push_back(ModalDriver::windowText(GetDlgItem(box, 0xFFFF)));
            const int answer = GetDlgItem(box, IDYES) ? IDYES : IDOK;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
            --count;
        }
        Sleep(20);
    }
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

TEST_F(MidiMapGui, ASecondLearnReplacesTheFirstAndTheLearnedEntryIsKeptEverywhere)
{
    openDialog();
    // Learn for Attract, then for the volume home knob before any
    // controller arrives: the controller goes to the second.
    host->modal().chooseMenuItem(2);
    host->rightClick(kAttractKnob, 10, 10);
    ASSERT_TRUE(host->finishModal());
    host->modal().chooseMenuItem(2);
    host->rightClick(1022, 10, 10);
    ASSERT_TRUE(host->finishModal());
    EXPECT_EQ(static_cast<SynthInterface*>(synth)->learningParameter(), 0);
    host->audio().sendMidi(0xB0, 55, 64);
    host->pump(200);
    EXPECT_EQ(patch().midiMap[55], 0);
    // The open dialog shows it without being reopened.
    EXPECT_EQ(line(55), "        55       ->        Volume home position");
    EXPECT_EQ(static_cast<SynthInterface*>(synth)->learningParameter(), -1);

    // Controllers 120 and up are never learned; the wait goes on.
    host->modal().chooseMenuItem(2);
    host->rightClick(kAttractKnob, 10, 10);
    ASSERT_TRUE(host->finishModal());
    host->audio().sendMidi(0xB0, 121, 0);
    host->pump(100);
    EXPECT_EQ(static_cast<SynthInterface*>(synth)->learningParameter(), kAttract);
    host->audio().sendMidi(0xB0, 55, 127);
    host->pump(200);
    EXPECT_EQ(patch().midiMap[55], kAttract); // the old mapping is replaced
    EXPECT_EQ(line(55), "        55       ->        Attraction steering amount");

    // A saved map file holds it.
    const std::string path = "midimap-learn-test.nbm";
    std::remove(path.c_str());
    host->modal().handleNext("#32770", [path](HWND d) { answerFileDialog(d, path, nullptr); });
    click(kSave);
    ASSERT_TRUE(host->finishModal());
    const std::vector<unsigned char> bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 510u);
    int32_t entry = 0;
    std::memcpy(&entry, bytes.data() + 30 + 55 * 4, 4);
    EXPECT_EQ(entry, kAttract);
    std::remove(path.c_str());

    // A chunk saved and restored into a fresh program keeps it.
    const std::vector<uint8_t> chunk = host->chunk();
    host->plugin().dispatch(effSetProgram, 0, 5);
    host->pump(100);
    EXPECT_EQ(patch().midiMap[55], -1);
    host->plugin().dispatch(effSetChunk, 1, static_cast<intptr_t>(chunk.size()),
                            const_cast<uint8_t*>(chunk.data()));
    host->pump(100);
    EXPECT_EQ(patch().midiMap[55], kAttract);
    host->audio().sendMidi(0xB0, 55, 127);
    host->pump(200);
    EXPECT_FLOAT_EQ(host->plugin().getParameter(kAttract), 1.0f);
}

TEST_F(MidiMapGui, BadMapFilesAreReportedAndLeaveTheMap)
{
    openDialog();
    const std::string path = "midimap-bad-test.nbm";
    std::vector<int32_t> before(patch().midiMap, patch().midiMap + kMidiMapSize);
    struct Case {
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {std::string("Nimbulator MIDI controller ma"), "Error reading MIDI MAP FILE"},
        {std::string("Nimbulator MIDI controller MAP") + std::string(480, '\x01'),
         "Invalid MIDI MAP file!"},
    };
    for (const Case& c : cases) {
        {
            std::ofstream file(path, std::ios::binary);
            file << c.bytes;
        }
        std::vector<std::string> texts;
        host->modal().handleNext("#32770", [path, &texts](HWND d) {
            answerFileDialog(d, path, nullptr);
            answerMessageBoxes(d, 1, &texts);
        });
        click(kLoad);
        ASSERT_TRUE(host->finishModal());
        host->pump(50);
        ASSERT_EQ(texts.size(), 1u) << c.message;
        EXPECT_EQ(texts[0], c.message);
        EXPECT_EQ(std::vector<int32_t>(patch().midiMap, patch().midiMap + kMidiMapSize), before);
    }
    std::remove(path.c_str());
}

TEST_F(MidiMapGui, HelpButtonOpensTheMapTopic)
{
    // The viewer is bound at the plug-in's first help request: register the
    // stand-in before it.
    HelpRecorder recorder;
    ASSERT_TRUE(recorder.ready());
    openDialog();
    click(kHelp);
    host->pump(100);
    const std::vector<HelpRecorder::Request> requests = recorder.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].topic, "MidiControllerMap.htm");
    EXPECT_EQ(requests[0].owner, dialog);
    // The topic is a page of the help file the build made.
    ChmListing manual;
    std::string error;
    ASSERT_TRUE(manual.load(HelpRecorder::inTestFolder("Nimbulator.chm"), error)) << error;
    EXPECT_TRUE(manual.hasTopic(requests[0].topic));
}

TEST_F(MidiMapGui, DialogShowsItsPicture)
{
    // A program with a few controllers learned, as a musician's would be.
    patch().midiMap[1] = 26;
    patch().midiMap[11] = 0;
    openDialog();
    SetForegroundWindow(dialog);
    SetFocus(GetDlgItem(dialog, kClose));
    host->pump(150);
    const RgbImage shot = EditorHost::captureWindow(dialog, true);
    ASSERT_GT(shot.width, 300);
    ASSERT_GT(shot.height, 350);
    // The list is drawn: its white face holds dark text.
    int dark = 0;
    for (uint32_t px : shot.pixels)
        dark += px == RgbImage::rgb(0, 0, 0);
    EXPECT_GT(dark, 500);
    if (const char* folder = std::getenv("OPTION_DIALOG_SHOTS")) {
        std::string error;
        EXPECT_TRUE(PngEncoder::write(shot, std::string(folder) + "/MidiControllerMap.png", error))
            << error;
    }
}

// The preset export, offered while the preset maker is loaded: the save
// dialog proposes the program's name in the authors' folder and the file
// is the program's record.
class PresetExportGui : public MidiMapGui {
protected:
    void SetUp() override
    {
        maker = LoadLibraryA(kPresetMaker);
        ASSERT_TRUE(maker);
        MidiMapGui::SetUp();
    }
    void TearDown() override
    {
        MidiMapGui::TearDown();
        if (maker)
            FreeLibrary(maker);
    }
    // Chooses "EXPORT NEW PRESET" and answers the save dialog with `path`,
    // then up to `boxes` message boxes.
    void exportTo(const std::string& path, std::string* proposed, int boxes = 0,
                  std::vector<std::string>* texts = nullptr)
    {
        ModalDriver save;
        save.handleNext("#32770", [path, proposed, boxes, texts](HWND d) {
            answerFileDialog(d, path, proposed);
            answerMessageBoxes(d, boxes, texts);
        });
        host->modal().chooseMenuItem(46);
        host->mouseDown(kPresetsButton, 5, 5);
        host->mouseUp(kPresetsButton, 5, 5);
        EXPECT_TRUE(host->finishModal());
        for (int i = 0; i < 500 && !save.done(); ++i)
            host->pump(10);
        EXPECT_TRUE(save.join());
        host->pump(20);
    }
    HMODULE maker = nullptr;
};

TEST_F(PresetExportGui, WritesTheProgramAndReportsAFileItCannotOpen)
{
    host->plugin().dispatch(effSetProgram, 0, 2);
    host->pump(100);
    ASSERT_STREQ(patch().name, "new patch #3");
    const std::string path = "export-gui-test.NBP";
    std::remove(path.c_str());
    std::string proposed;
    exportTo(path, &proposed);
    // The proposal is "c:\\nimbulator\\presets\\new patch #3"; the dialog
    // shows its file name in the name box (the folder decides where it
    // opens).
    EXPECT_EQ(proposed.substr(proposed.find_last_of('\\') + 1), "new patch #3");
    const std::vector<uint8_t> chunk = host->chunk();
    EXPECT_EQ(readFile(path), std::vector<unsigned char>(chunk.begin(), chunk.end()));
    ASSERT_EQ(readFile(path).size(), 1908u);

    // A factory preset exports as the program holds it: its bank record,
    // except that this host gives no tempo, so the speed LFO's host sync
    // (byte 1896) went off while the preset played.
    host->plugin().dispatch(effSetProgram, 0, 0);
    host->pump(50);
    static_cast<SynthInterface*>(synth)->loadPresetRecord(&FactoryBank::record(7), sizeof(Patch),
                                                          true);
    host->pump(100);
    std::remove(path.c_str());
    exportTo(path, nullptr);
    const std::vector<uint8_t> loaded = host->chunk();
    const std::vector<unsigned char> record(
        reinterpret_cast<const unsigned char*>(&FactoryBank::record(7)),
        reinterpret_cast<const unsigned char*>(&FactoryBank::record(7)) + sizeof(Patch));
    EXPECT_EQ(readFile(path), std::vector<unsigned char>(loaded.begin(), loaded.end()));
    std::vector<unsigned char> expected = record;
    expected[1896] = 0;
    EXPECT_EQ(std::vector<unsigned char>(loaded.begin(), loaded.end()), expected);

    // A file another program holds open without sharing cannot be opened:
    // after the overwrite question, the export says so.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::vector<std::string> texts;
    exportTo(path, nullptr, 2, &texts);
    CloseHandle(held);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1], "Error opening preset file");
    EXPECT_EQ(readFile(path), std::vector<unsigned char>(loaded.begin(), loaded.end()));
    std::remove(path.c_str());
}
