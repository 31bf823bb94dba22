// The harness's sub-commands. Each adds itself to the command line (its
// positional arguments and options, with their checks and help texts); when
// the command line names it, its callback runs the command and leaves the
// process exit code in `exitCode` (0 success, 1 failure; the parser itself
// answers bad arguments with 2).
#pragma once

#include <string>

namespace CLI {
class App;
class Validator;
} // namespace CLI

// Argument parsing shared by the commands. A number is a whole, finite
// decimal text; an integer is such a number without a fraction, within
// low..high. Both return false and leave `value` alone otherwise.
bool parseNumber(const std::string& text, double& value);
bool parseInteger(const std::string& text, long low, long high, long& value);

// Checks for the command line, each failing with "bad OPTION 'TEXT': why".
CLI::Validator wholeNumberIn(const std::string& option, long low, long high);
CLI::Validator numberIn(const std::string& option, double low, double high);
// An output file that can be created or overwritten (its folder exists and
// is writable), checked before any work starts; nothing is created.
CLI::Validator writableFile(const std::string& option);

void addInfoCommand(CLI::App& app, int& exitCode);
void addSoakCommand(CLI::App& app, int& exitCode);
void addProcessCommand(CLI::App& app, int& exitCode);
void addRenderCommand(CLI::App& app, int& exitCode);
void addBenchCommand(CLI::App& app, int& exitCode);
void addExportCommand(CLI::App& app, int& exitCode);
void addEditorCommand(CLI::App& app, int& exitCode); // Windows builds
