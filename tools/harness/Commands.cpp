#include "Commands.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sys/stat.h>

#if defined(_WIN32)
#include <io.h>
#define NIMHOST_ACCESS _access
#define NIMHOST_W_OK 2
#else
#include <unistd.h>
#define NIMHOST_ACCESS access
#define NIMHOST_W_OK W_OK
#endif

bool parseNumber(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const double number = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != 0 || !std::isfinite(number))
        return false;
    value = number;
    return true;
}

bool parseInteger(const std::string& text, long low, long high, long& value)
{
    double number;
    if (!parseNumber(text, number) || number != std::floor(number) || number < low || number > high)
        return false;
    value = static_cast<long>(number);
    return true;
}

CLI::Validator wholeNumberIn(const std::string& option, long low, long high)
{
    const std::string range = std::to_string(low) + ".." + std::to_string(high);
    return CLI::Validator(
        [=](std::string& text) {
            long value;
            if (parseInteger(text, low, high, value))
                return std::string();
            return "bad " + option + " '" + text + "': a whole number " + range;
        },
        "INT " + range);
}

CLI::Validator numberIn(const std::string& option, double low, double high)
{
    char range[64];
    std::snprintf(range, sizeof range, "%g..%g", low, high);
    return CLI::Validator(
        [=](std::string& text) {
            double value;
            if (parseNumber(text, value) && value >= low && value <= high)
                return std::string();
            return "bad " + option + " '" + text + "': a number " + range;
        },
        std::string("NUMBER ") + range);
}

CLI::Validator writableFile(const std::string& option)
{
    return CLI::Validator(
        [=](std::string& path) {
            struct stat info;
            if (path.empty())
                return "bad " + option + ": an empty path";
            if (stat(path.c_str(), &info) == 0) {
                if (S_ISDIR(info.st_mode))
                    return "bad " + option + " '" + path + "': a folder, not a file";
                if (NIMHOST_ACCESS(path.c_str(), NIMHOST_W_OK) != 0)
                    return "cannot write " + path + ": the file is read-only";
                return std::string();
            }
            const size_t slash = path.find_last_of("/\\");
            const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
            if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
                return "cannot write " + path + ": no folder " + folder;
            if (NIMHOST_ACCESS(folder.c_str(), NIMHOST_W_OK) != 0)
                return "cannot write " + path + ": the folder is not writable";
            return std::string();
        },
        "FILE (writable)");
}
