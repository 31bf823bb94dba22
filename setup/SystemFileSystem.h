// The folder rules' view of the real disks: the system's drive-type and
// file-attribute queries. Win32 only.
#pragma once

#include "FileSystemView.h"

class SystemFileSystem : public FileSystemView {
public:
    int driveType(const std::string& root) const override;
    bool exists(const std::string& path) const override;
    bool isFolder(const std::string& path) const override;

    // Creates every missing folder of `folder` (a trailing "\\" is added when
    // missing); false when one could not be made or the path is too long.
    static bool createFolders(const std::string& folder);
};
