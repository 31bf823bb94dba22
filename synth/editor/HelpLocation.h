// Where the instrument's help file lives: the program-files folder the
// installer wrote it under, as the registry names it, with fallbacks. The
// registry reading is the Win32 side's (HelpViewer); this decides the path
// from the values it found. No window system here.
#pragma once

#include <string>

class HelpLocation {
public:
    // The folder used when the registry names none.
    static const char* const kDefaultProgramFiles; // "c:\\Program Files"
    // Appended to the program-files folder.
    static const char* const kHelpFileSuffix; // "\\Orvalend\\Nimbulator\\Nimbulator.CHM"
    // Longest registry value accepted, in bytes with the terminating zero.
    enum { kMaxValueBytes = 260 };

    // The help file's path from the "ProgramFilesDir" values found under
    // the system file checker's key (`fromSfc`) and under the Windows
    // "CurrentVersion" key (`fromCurrentVersion`); null for a value that
    // could not be read. The first usable value wins; an empty value counts
    // as missing, since it would turn the path into one relative to the
    // current drive.
    static std::string helpFilePath(const char* fromSfc, const char* fromCurrentVersion);

    // A registry string of `byteCount` bytes as read into a buffer: the text
    // up to the first zero, or the whole data when it carries none (registry
    // strings need not be terminated). False for data longer than the limit
    // or that is not text at all (a negative count).
    static bool valueText(const char* data, long byteCount, std::string& text);
};
