// The editor's menus as data and rules: the item texts of the Presets,
// Options and Help menus and of a control's context menu, what a chosen
// position means, the help topic of each control and the envelope that
// "Reset envelope" resets. No window system here: CPopupMenu shows what
// these functions list, and the editor acts on what they decide.
#pragma once

#include <cstdint>
#include <vector>

class EditorMenus {
public:
    // The menu index CPopupMenu reports with a choice (WM_USER+1 wParam).
    enum Menu : int32_t { kContextMenu = -1, kPresetsMenu = 0, kOptionsMenu = 1, kHelpMenu = 2 };

    // What a chosen menu position asks for.
    enum Action : int32_t {
        kNothing, // a separator, a dismissed menu or a position past the end
        kLoadPreset,
        kExportPreset,
        kOpenSynthesis,
        kOpenSpeedLfo,
        kOpenMidiMap,
        kOpenSeeding,
        kOpenVisualisation,
        kResetDevices,
        kRandomise,
        kShowWelcome,
        kOpenAbout,
        kWhatsThis,
        kResetEnvelope,
    };
    struct Choice {
        Action action;
        int32_t preset; // kLoadPreset: the factory preset 0..count-1; else -1
    };

    // The text of the authoring entry, offered only while the preset-maker
    // module is loaded in the host's process.
    static const char* const kExportText;
    // The module name whose presence offers the authoring entry.
    static const char* const kPresetMakerModule;
    static const char* const kSeparator; // "-"

    // Presets menu: the `count` preset names in bank order, then, when
    // `exportOffered`, a separator and the authoring entry.
    static std::vector<const char*> presetsMenu(const char* const* names, int32_t count,
                                                bool exportOffered);
    static Choice presetsChoice(int32_t position, int32_t count, bool exportOffered);

    static std::vector<const char*> optionsMenu();
    static Choice optionsChoice(int32_t position);

    static std::vector<const char*> helpMenu();
    static Choice helpChoice(int32_t position);

    // Context menu of control `controlId` while dimension `selected` (0..4,
    // -1 none) is selected: "What's this?", and for the envelope graphs and
    // the flock view a separator and their own entry. The home and range
    // graphs offer theirs only while a dimension is selected.
    static std::vector<const char*> contextMenu(int32_t controlId, int32_t selected);
    static Choice contextChoice(int32_t controlId, int32_t selected, int32_t position);

    // The help topic (a page of the help file) that "What's this?" opens
    // for a control; the welcome page for ids that are not controls.
    static const char* topicOf(int32_t controlId);
    static const char* const kWelcomeTopic; // "Welcome.htm"

    // The envelope of the program that "Reset envelope" on `controlId`
    // resets, with the flags the reset takes. index is -1 when the control
    // has no envelope to reset (a home or range graph with no dimension
    // selected, or any other control).
    struct EnvelopeTarget {
        int32_t index; // PatchEnvelopeIndex 0..10, or -1
        bool isHome;
        bool isVolume;
    };
    static EnvelopeTarget resetTarget(int32_t controlId, int32_t selected);
};
