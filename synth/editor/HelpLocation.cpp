#include "HelpLocation.h"

const char* const HelpLocation::kDefaultProgramFiles = "c:\\Program Files";
const char* const HelpLocation::kHelpFileSuffix = "\\Orvalend\\Nimbulator\\Nimbulator.CHM";

std::string HelpLocation::helpFilePath(const char* fromSfc, const char* fromCurrentVersion)
{
    const char* folder = kDefaultProgramFiles;
    if (fromSfc && *fromSfc)
        folder = fromSfc;
    else if (fromCurrentVersion && *fromCurrentVersion)
        folder = fromCurrentVersion;
    return std::string(folder) + kHelpFileSuffix;
}

bool HelpLocation::valueText(const char* data, long byteCount, std::string& text)
{
    text.clear();
    if (!data || byteCount < 0 || byteCount > kMaxValueBytes)
        return false;
    long length = 0;
    while (length < byteCount && data[length] != '\0')
        ++length;
    text.assign(data, static_cast<size_t>(length));
    return true;
}
