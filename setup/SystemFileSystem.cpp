// Drive types, file attributes and whole-path folder creation through the
// system (see SystemFileSystem.h).
#include "SystemFileSystem.h"

#include "FolderRules.h"

#include <windows.h>

#include <imagehlp.h>

int SystemFileSystem::driveType(const std::string& root) const
{
    return static_cast<int>(GetDriveTypeA(root.empty() ? nullptr : root.c_str()));
}

bool SystemFileSystem::exists(const std::string& path) const
{
    return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SystemFileSystem::isFolder(const std::string& path) const
{
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool SystemFileSystem::createFolders(const std::string& folder)
{
    const std::string path = FolderRules::withTrailingSeparator(folder);
    // The image help library copies each partial path into a buffer of
    // MAX_PATH characters; longer paths are refused here, not overrun there.
    if (path.size() >= FolderRules::kMaxPath)
        return false;
    return MakeSureDirectoryPathExists(path.c_str()) != FALSE;
}
