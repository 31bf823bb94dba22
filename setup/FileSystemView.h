// What the folder rules need to know about the machine's disks: a drive's
// type and whether a path exists and is a folder. The installer answers with
// the system's own queries; the unit tests with a made-up file system.
#pragma once

#include <string>

// Drive types as the system numbers them (GetDriveType).
enum DriveType {
    kDriveUnknown = 0,   // the type cannot be determined
    kDriveNoRootDir = 1, // no such root directory: the drive does not exist
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveRamDisk = 6,
};

class FileSystemView {
public:
    virtual ~FileSystemView() = default;
    // The type of the drive whose root is `root` ("C:\\"); an empty root
    // stands for the current directory's drive.
    virtual int driveType(const std::string& root) const = 0;
    // True when `path` names an existing file or folder.
    virtual bool exists(const std::string& path) const = 0;
    // True when `path` names an existing folder.
    virtual bool isFolder(const std::string& path) const = 0;
};
