#include "PresetFile.h"

#include <cstdio>
#include <cstring>

const char PresetFile::kExportFolder[] = "c:\\nimbulator\\presets\\";

std::string PresetFile::proposedPath(const Patch& patch)
{
    size_t length = 0;
    while (length < sizeof patch.name && patch.name[length])
        ++length;
    return std::string(kExportFolder) + std::string(patch.name, length);
}

PresetFile::Result PresetFile::write(const Patch& patch, const char* path)
{
    FILE* file = path ? std::fopen(path, "wb") : nullptr;
    if (!file)
        return Result::OpenFailed;
    // A full disk shows up in the write or when the buffer is flushed.
    const bool written = std::fwrite(&patch, sizeof patch, 1, file) == 1;
    const bool closed = std::fclose(file) == 0;
    return written && closed ? Result::Ok : Result::WriteFailed;
}

PresetFile::Result PresetFile::read(const char* path, Patch& patch)
{
    FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file)
        return Result::OpenFailed;
    Patch record;
    const size_t got = std::fread(&record, 1, sizeof record, file);
    const bool longer = std::fgetc(file) != EOF;
    std::fclose(file);
    if (got != sizeof record || longer)
        return Result::WrongSize;
    std::memcpy(&patch, &record, sizeof patch);
    return Result::Ok;
}

const char* PresetFile::message(Result result)
{
    switch (result) {
    case Result::Ok:
        return nullptr;
    case Result::OpenFailed:
        return "Error opening preset file";
    case Result::WriteFailed:
        return "Error saving preset file";
    case Result::WrongSize:
        return "Not a preset file";
    }
    return nullptr;
}
