// The built plug-ins by the file names the tests load them with, from the
// build's bin folder (the tests' working directory).
#pragma once

#if defined(_WIN32)
#define PLUGIN_FILE(name) name ".dll"
#else
#define PLUGIN_FILE(name) name ".so"
#endif
