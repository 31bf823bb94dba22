// The system's file dialogs as the editor uses them: no owner window, a
// 260-character name buffer that may hold a proposed name, a filter list and
// a default extension. UI thread only; each call is modal.
#pragma once

#include <windows.h>

class FileDialog {
public:
    // Asks for a file to write (with the overwrite question). `path` holds
    // the proposed name on entry and the chosen path on success; false when
    // the user cancelled.
    static bool askSave(const char* title, const char* filter, const char* extension,
                        char (&path)[MAX_PATH]);
    // Asks for an existing file to read.
    static bool askOpen(const char* title, const char* filter, const char* extension,
                        char (&path)[MAX_PATH]);

private:
    static bool ask(bool save, const char* title, const char* filter, const char* extension,
                    char (&path)[MAX_PATH]);
};
