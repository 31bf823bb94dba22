// presetwriter OUTDIR: writes every factory preset as a preset file,
// OUTDIR/NAME.NBP, holding the raw 1908-byte program record exactly as the
// editor's preset export writes it. The build runs it so that musicians and
// tests can play the factory presets from files (nimhost render --preset).
#include "FactoryBank.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: presetwriter OUTDIR\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (int32_t i = 0; i < FactoryBank::count(); ++i) {
        const std::string path = folder + "/" + FactoryBank::name(i) + ".NBP";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) {
            std::fprintf(stderr, "presetwriter: cannot create %s\n", path.c_str());
            return 1;
        }
        const Patch& record = FactoryBank::record(i);
        const bool written = std::fwrite(&record, sizeof record, 1, f) == 1;
        if (std::fclose(f) != 0 || !written) {
            std::fprintf(stderr, "presetwriter: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
