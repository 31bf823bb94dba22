// nimhost: a command-line VST 2 host for the project's plug-ins (and any
// other VST 2 plug-in): inspect, render, process, soak and benchmark through
// the real ABI. `nimhost --help` lists the commands, `nimhost COMMAND --help`
// their arguments; bad arguments are refused, with the reason, before any
// plug-in is loaded (exit code 2).
#include "Commands.h"

#include <CLI/CLI.hpp>

#include <cstdio>

int main(int argc, char** argv)
{
    CLI::App app(
        "nimhost: a command-line VST 2 host (inspect, render, process, soak, bench, export)",
        "nimhost");
    app.require_subcommand(1);
    app.fallthrough(false);
    int exitCode = 0;
    addInfoCommand(app, exitCode);
    addSoakCommand(app, exitCode);
#ifdef NIMHOST_AUDIO_FILES
    addProcessCommand(app, exitCode);
    addRenderCommand(app, exitCode);
#endif
    addBenchCommand(app, exitCode);
    addExportCommand(app, exitCode);
#ifdef NIMHOST_EDITOR
    addEditorCommand(app, exitCode);
#endif
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        // Name the command being parsed, and where its help is.
        const char* hint =
            dynamic_cast<const CLI::ArgumentMismatch*>(&e) ? " (an option needs a value)" : "";
        std::string command;
        for (const CLI::App* sub : app.get_subcommands())
            command = sub->get_name();
        if (command.empty() && argc > 1 && argv[1][0] != '-') {
            std::fprintf(stderr,
                         "nimhost: unknown command '%s'\nusage: nimhost COMMAND ... "
                         "(nimhost --help)\n",
                         argv[1]);
        } else if (command.empty()) {
            std::fprintf(stderr, "nimhost: %s\nusage: nimhost COMMAND ... (nimhost --help)\n",
                         e.what());
        } else {
            std::fprintf(stderr, "nimhost %s: %s%s\nusage: nimhost %s ... (nimhost %s --help)\n",
                         command.c_str(), e.what(), hint, command.c_str(), command.c_str());
        }
        return 2;
    }
    return exitCode;
}
