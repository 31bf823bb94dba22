// Help for the instrument: the one place every help request goes through.
// The editor's Help menu and "What's this?" and every option dialog's
// "Help" button call HelpViewer::showTopic with their owner window and a
// topic (a page file name inside the help file, such as "Welcome.htm").
//
// The help file is found through the registry (HelpLocation) and shown by
// the HTML Help viewer, bound once per loaded plug-in (HelpBinding). When
// no viewer can be bound, requests do nothing, silently; a missing help
// file is reported by the viewer itself. UI thread only.
#pragma once

#include <windows.h>

#include <string>

class HelpViewer {
public:
    // Opens the help file at `topic`, owned by `owner`. Returns what the
    // viewer returns (its window), or 0 when no viewer is available.
    static HWND showTopic(HWND owner, const char* topic);

    // The help file's path: "ProgramFilesDir" from the system file
    // checker's key, else from Windows' CurrentVersion key, else
    // "c:\\Program Files"; then "\\Orvalend\\Nimbulator\\Nimbulator.CHM".
    static std::string helpFilePath();

    enum { kDisplayTopic = 0 }; // HH_DISPLAY_TOPIC
};
