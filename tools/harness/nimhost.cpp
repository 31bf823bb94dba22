// nimhost: a command-line VST 2 host for the project's plug-ins (and any
// other VST 2 plug-in): inspect, render and process through the real ABI.
#include "Commands.h"

#include <cstdio>
#include <cstring>

namespace {
struct Command {
    const char* name;
    int (*run)(const Arguments&);
    const char* help;
};

const Command commands[] = {
    {"info", infoCommand, "info PLUGIN              identity, flags, programs and parameters"},
    {"soak", soakCommand,
     "soak PLUGIN [--seconds S] [--seed N] [--rate HZ] [--max-block N] [--max-peak L]\n"
     "                         a long random session; fails on non-finite output"},
    {"bench", benchCommand,
     "bench PLUGIN... [--seconds S] [--repetitions N] [--warm-up S] [--rate HZ] [--block N]\n"
     "                         [--only TEXT]   CPU time and real-time factor over fixed\n"
     "                         workloads, several plug-ins side by side"},
#ifdef NIMHOST_AUDIO_FILES
    {"process", processCommand,
     "process PLUGIN IN.wav OUT.wav [--set NAME=VALUE ...] [--block N] [--format 16|24|float]"},
    {"render", renderCommand,
     "render PLUGIN [--midi F.mid] [--patch F.bin | --random SEED] [--rate HZ] [--block N]\n"
     "                         [--format 16|24|float] [--seconds S] -o OUT.wav"},
#endif
};

void usage()
{
    std::fprintf(stderr, "usage: nimhost COMMAND ...\n");
    for (const Command& c : commands)
        std::fprintf(stderr, "  nimhost %s\n", c.help);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        usage();
        return 2;
    }
    for (const Command& c : commands)
        if (std::strcmp(argv[1], c.name) == 0)
            return c.run(Arguments(argv + 2, argv + argc));
    std::fprintf(stderr, "nimhost: unknown command '%s'\n", argv[1]);
    usage();
    return 2;
}
