// The installer's path, drive and folder decisions (see FolderRules.h).
#include "FolderRules.h"

#include <cctype>

namespace FolderRules {

namespace {
bool isLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

bool endsWithSeparator(const std::string& text)
{
    return !text.empty() && text.back() == '\\';
}

bool startsWithTwoSeparators(const std::string& text)
{
    return text.size() >= 2 && text[0] == '\\' && text[1] == '\\';
}

// The drive of a path with a letter and colon, tested: true when it exists.
bool driveExists(const std::string& path, const FileSystemView& fs)
{
    return !isInvalidDriveType(fs.driveType(driveRoot(path)));
}

Decision make(Decision::Kind kind, const std::string& path, const std::string& message = "")
{
    Decision d;
    d.kind = kind;
    d.path = path;
    d.message = message;
    return d;
}

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

const char* const kNotValid = "\nThis is not a valid folder.";
const char* const kDriveInvalid = "\nThe drive is invalid.";
const char* const kNotAFolder = "\nThis is a file not a directory.";
} // namespace

bool isInvalidDriveType(int type)
{
    return type == kDriveUnknown || type == kDriveNoRootDir;
}

std::string driveRoot(const std::string& path)
{
    if (path.empty())
        return std::string();
    return std::string(1, path[0]) + ":\\";
}

bool installerTestsDrive(const std::string& path)
{
    if (path.size() == 1)
        return false;
    return path.empty() || path[1] == ':';
}

std::string withTrailingSeparator(const std::string& folder)
{
    return endsWithSeparator(folder) ? folder : folder + "\\";
}

std::string fileInFolder(const std::string& folder, const std::string& name)
{
    return withTrailingSeparator(folder) + name;
}

std::string withoutTrailingSeparator(const std::string& text)
{
    return endsWithSeparator(text) ? text.substr(0, text.size() - 1) : text;
}

std::string driveOnly(const std::string& programFiles)
{
    if (programFiles.empty())
        return std::string();
    return std::string(1, programFiles[0]) + ":";
}

const char* creationFailureMessage(int type, CreationContext context)
{
    switch (type) {
    case kDriveRemovable:
        return "You cannot create this folder.\nThe medium may be write-protected.";
    case kDriveRemote:
        return "You do not have permission to create\nthis folder on the network.";
    case kDriveCdRom:
        return "You cannot create this folder\nas the CD ROM medium is read-only.";
    default:
        if (context == CreationContext::ChooserOpen)
            return "You do not have permission\nto create this folder.";
        return "You do not have permission or\notherwise cannot create this folder.";
    }
}

bool isDrive(const std::string& text)
{
    return text.size() == 2 && isLetter(text[0]) && text[1] == ':';
}

bool isDriveRoot(const std::string& text)
{
    return text.size() == 3 && isLetter(text[0]) && text[1] == ':' && text[2] == '\\';
}

bool isServerName(const std::string& text)
{
    return startsWithTwoSeparators(text) && text.size() > 2 &&
           text.find('\\', 2) == std::string::npos;
}

bool isIncompleteNetworkPath(const std::string& text)
{
    if (!startsWithTwoSeparators(text))
        return false;
    const size_t afterServer = text.find('\\', 2);
    if (afterServer == std::string::npos)
        return true;
    return text.find('\\', afterServer + 1) == std::string::npos;
}

Decision openButton(const std::string& text, const FileSystemView& fs)
{
    const size_t n = text.size();
    if (n == 0)
        return make(Decision::Accept, text);
    if (n == 1 && text == "\\")
        return make(Decision::Accept, text);
    if ((n == 2 && text == "\\\\"))
        return make(Decision::Message, text, text + kNotValid);
    if (isDrive(text) || isDriveRoot(text)) {
        if (driveExists(text, fs))
            return make(Decision::Accept, text);
        return make(Decision::Message, text, text + kDriveInvalid);
    }

    const std::string folder = withoutTrailingSeparator(text);
    if (!fs.exists(folder)) {
        if (n > 1 && folder.size() > 1 && folder[1] == ':' && !driveExists(folder, fs))
            return make(Decision::Message, folder, folder + kDriveInvalid);
        if (isIncompleteNetworkPath(folder))
            return make(Decision::Message, folder, folder + kNotValid);
        return make(
            Decision::AskCreate, folder,
            creationFailureMessage(fs.driveType(driveRoot(folder)), CreationContext::ChooserOpen));
    }
    if (!fs.isFolder(folder))
        return make(Decision::Message, folder, folder + kNotAFolder);
    return make(Decision::Accept, folder);
}

Decision enterKey(const std::string& text, const FileSystemView& fs)
{
    std::string folder = text;
    if (folder != "\\" && folder != "\\\\" && !isDriveRoot(folder))
        folder = withoutTrailingSeparator(folder);
    // Two separators alone name no folder: there is nothing to go to or make.
    if (folder == "\\\\")
        return make(Decision::Stop, folder);
    if (folder.empty() || folder == "\\" || isServerName(folder) || isDrive(folder) ||
        isDriveRoot(folder))
        return make(Decision::Navigate, folder);
    if (!fs.exists(folder)) {
        const bool driveUnspecified = folder.size() == 1 || folder[1] != ':';
        if (driveUnspecified || driveExists(folder, fs))
            return make(Decision::AskCreate, folder,
                        creationFailureMessage(fs.driveType(driveRoot(folder)),
                                               CreationContext::ChooserEnter));
    }
    return make(Decision::Navigate, folder);
}

Decision afterEdit(const std::string& text, char typed, bool caretAtEnd, const FileSystemView& fs)
{
    if (text == "\\")
        return make(Decision::Navigate, text);
    if (text == "\\\\")
        return make(Decision::Stop, text);
    if (endsWithSeparator(text)) {
        if ((isDriveRoot(text) && driveExists(text, fs)) || fs.isFolder(text))
            return make(Decision::Navigate, text);
        return make(Decision::Stop, text);
    }
    if (typed != 0 && typed != '\b' && caretAtEnd)
        return make(Decision::TryCompletion, text);
    return make(Decision::Stop, text);
}

size_t lastComponentLength(const std::string& text)
{
    for (char separator : {'\\', '/', ':'}) {
        const size_t at = text.rfind(separator);
        if (at != std::string::npos)
            return text.size() - at - 1;
    }
    return text.size();
}

std::string completion(const std::string& text, const std::string& folderName, char typed)
{
    std::string name = folderName;
    if (name.empty())
        return std::string();
    bool spaceOrLower = false;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isspace(u) || std::islower(u))
            spaceOrLower = true;
    }
    if (!spaceOrLower)
        name = name.substr(0, 1) + lower(name.substr(1));

    const size_t k = lastComponentLength(text);
    // A folder found only through its short (8.3) name does not continue
    // what was typed; nothing is appended then.
    if (k > name.size() || lower(name.substr(0, k)) != lower(text.substr(text.size() - k)))
        return std::string();
    if (k > 0 && typed != name[k - 1])
        name = std::isupper(static_cast<unsigned char>(typed)) ? upper(name) : lower(name);
    return name.substr(k);
}

std::string singleFolder(const std::vector<std::pair<std::string, bool>>& entries)
{
    std::string found;
    int folders = 0;
    for (const auto& entry : entries) {
        if (!entry.second || entry.first == "." || entry.first == "..")
            continue;
        ++folders;
        found = entry.first;
    }
    return folders == 1 ? found : std::string();
}

} // namespace FolderRules
