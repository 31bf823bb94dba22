// The harness's sub-commands. Each takes the arguments after its own name
// and returns the process exit code.
#pragma once

#include <string>
#include <vector>

typedef std::vector<std::string> Arguments;

int infoCommand(const Arguments& args);
int soakCommand(const Arguments& args);
int processCommand(const Arguments& args);
int renderCommand(const Arguments& args);
