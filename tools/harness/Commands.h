// The harness's sub-commands. Each takes the arguments after its own name
// and returns the process exit code.
#pragma once

#include <string>
#include <vector>

typedef std::vector<std::string> Arguments;

// Argument parsing shared by the commands. A number is a whole, finite
// decimal text; an integer is such a number without a fraction, within
// low..high. Both return false and leave `value` alone otherwise.
bool parseNumber(const std::string& text, double& value);
bool parseInteger(const std::string& text, long low, long high, long& value);

int infoCommand(const Arguments& args);
int soakCommand(const Arguments& args);
int processCommand(const Arguments& args);
int renderCommand(const Arguments& args);
int benchCommand(const Arguments& args);
