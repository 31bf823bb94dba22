// Exports a plug-in's entry point under the names hosts look up:
// "VSTPluginMain" and "main". On Windows a module-definition file adds the
// "main" alias; elsewhere an assembler label does (C++ forbids a function
// called main that does not return int).
//
// Usage, once per plug-in:  NIMBULATOR_PLUGIN_ENTRY(createMyEffect)
// where createMyEffect(audioMasterCallback) returns the AEffect* or null.
#pragma once

#include "Vst2Interface.h"

#if defined(_WIN32)
#define NIMBULATOR_EXPORT __declspec(dllexport)
#define NIMBULATOR_MAIN_ALIAS(create)
#else
#define NIMBULATOR_EXPORT __attribute__((visibility("default")))
// A host passes a callback; guard against the symbol being run as a program.
#define NIMBULATOR_MAIN_ALIAS(create)                                                              \
    extern "C" NIMBULATOR_EXPORT AEffect* nimbulatorMainAlias(audioMasterCallback) __asm__(        \
        "main");                                                                                   \
    extern "C" AEffect* nimbulatorMainAlias(audioMasterCallback master)                            \
    {                                                                                              \
        if (reinterpret_cast<uintptr_t>(master) < 0x100 && master != nullptr)                      \
            return nullptr;                                                                        \
        return create(master);                                                                     \
    }
#endif

#define NIMBULATOR_PLUGIN_ENTRY(create)                                                            \
    extern "C" NIMBULATOR_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback master)    \
    {                                                                                              \
        return create(master);                                                                     \
    }                                                                                              \
    NIMBULATOR_MAIN_ALIAS(create)
