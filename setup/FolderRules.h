// The installer's decisions about paths, drives and folders, apart from any
// window: which special forms a typed folder takes, when a drive is tested,
// which message a failed creation gets, how the folder chooser's Open button
// and Enter key treat a typed text, and how a typed folder name is completed.
// The Win32 code asks these functions and carries out what they return.
#pragma once

#include "FileSystemView.h"

#include <string>
#include <vector>

namespace FolderRules {

// Longest text the installer keeps for a folder (characters, with the
// terminating null: a value must be shorter than this).
const size_t kMaxPath = 260;

// Where a folder creation failed; the chooser's Open button words the
// "any other drive" case differently from the installer and the Enter key.
enum class CreationContext { Installer, ChooserOpen, ChooserEnter };

// The two lowest drive types (undeterminable, no root directory) mean the
// drive does not exist.
bool isInvalidDriveType(int type);

// The root of the drive a path names: its first character, ":" and "\\".
// An empty path has no drive letter; its root is "" (the current drive).
std::string driveRoot(const std::string& path);

// Whether the installer tests the destination's drive before asking to create
// it: not for a one-character path (a relative folder), and otherwise only
// when the path is empty or has a drive letter ("X:" at the start).
bool installerTestsDrive(const std::string& path);

// `folder` with one "\\" at its end (added only when missing).
std::string withTrailingSeparator(const std::string& folder);

// The file `name` in `folder`, with exactly one separator between them when
// the folder ends in one already.
std::string fileInFolder(const std::string& folder, const std::string& name);

// `text` without one trailing "\\" (only one, when there is one).
std::string withoutTrailingSeparator(const std::string& text);

// The plug-in folder of last resort: the program-files folder's drive, its
// first character followed by ":" ("C:"). Empty for an empty folder.
std::string driveOnly(const std::string& programFiles);

// The message for a folder that could not be created on a drive of `type`.
const char* creationFailureMessage(int type, CreationContext context);

// Special forms of a typed folder.
bool isDrive(const std::string& text);      // "C:"
bool isDriveRoot(const std::string& text);  // "C:\\"
bool isServerName(const std::string& text); // "\\\\server", nothing after it
// A network path that cannot name a folder: "\\\\" followed by a server with
// no "\\" after it, or a share with none after that ("\\\\server\\share").
bool isIncompleteNetworkPath(const std::string& text);

// What to do with the folder box's text.
struct Decision {
    enum Kind {
        Accept,        // navigate to `path` (unless empty), close the chooser with OK
        Message,       // show `message`, stay open, focus the folder box
        AskCreate,     // ask to create `path`; Yes: create, then as Accept (Open)
                       // or as Navigate (Enter); failure: `message` for its drive
        Navigate,      // navigate to `path` and keep the chooser open
        Stop,          // nothing more to do
        TryCompletion, // list `path` + "*" and complete a single folder
    };
    Kind kind = Stop;
    std::string path;
    std::string message;
};

// The chooser's Open button with the folder box's text.
Decision openButton(const std::string& text, const FileSystemView& fs);

// Enter in the folder box: navigate, possibly after asking to create the
// folder (Enter never closes the chooser).
Decision enterKey(const std::string& text, const FileSystemView& fs);

// After a deletion or a typed character (`typed`, 0 for the Delete key;
// backspace is 8) with the caret at the end of the text or not.
Decision afterEdit(const std::string& text, char typed, bool caretAtEnd, const FileSystemView& fs);

// Length of the last typed path component: what follows the last "\\", or
// else the last "/", or else the last ":" (the whole text without any).
size_t lastComponentLength(const std::string& text);

// The part appended to `text` when `folderName` is the one folder matching
// `text` + "*" and `typed` was the last character typed. An all-capital name
// without white space is taken in its usual form (first letter kept, the rest
// in lower case); when the typed character differs from the name's character
// at that place, the name follows the typed character's case.
std::string completion(const std::string& text, const std::string& folderName, char typed);

// Of the entries matching a typed text (name, is-a-folder), the one folder to
// complete with, or "" when there is none or more than one ("." and ".." are
// not candidates).
std::string singleFolder(const std::vector<std::pair<std::string, bool>>& entries);

} // namespace FolderRules
