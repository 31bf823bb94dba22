// Preset files (*.NBP): one program record, the raw 1908 bytes of a Patch
// with no header, the form in which factory presets are authored. The
// editor exports the current program (proposing a name in the preset
// authors' folder); the tools also read such files back.
//
// Threads: UI thread (or a tool's only thread).
#pragma once

#include "Patch.h"

#include <string>

class PresetFile {
public:
    enum class Result {
        Ok,
        OpenFailed,  // write: cannot be created; read: cannot be opened
        WriteFailed, // write: the record did not reach the file
        WrongSize,   // read: the file is not exactly one record long
    };

    // "c:\nimbulator\presets\" followed by the program's name (at most 24
    // characters, also when the record's name lacks its terminator).
    static std::string proposedPath(const Patch& patch);
    // Writes the record to `path`. On WriteFailed the partial file stays.
    static Result write(const Patch& patch, const char* path);
    // Reads a record of exactly 1908 bytes; `patch` is unchanged otherwise.
    static Result read(const char* path, Patch& patch);
    // The message box text of an export failure; null for Ok.
    static const char* message(Result result);

    static const char kExportFolder[];
};
