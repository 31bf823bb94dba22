// `nimhost editor PLUGIN`: opens a plug-in's editor in a host window of ours
// (Windows builds), renders audio meanwhile on a second thread, plays an
// input script, and saves a screenshot and/or prints the plug-in's state.
// Exits 1 when the plug-in cannot be loaded or opened, a script step fails
// (a control or an awaited menu or message box is missing) or a fault
// occurred inside the plug-in.
#include "Commands.h"
#include "EditorHost.h"
#include "EditorScript.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

namespace {
struct EditorOptions {
    std::string plugin, script, screenshot;
    double seconds = 0.5;
    bool dump = false;
    std::vector<int> notes;
};

bool isInput(EditorScriptStep::Kind k)
{
    switch (k) {
    case EditorScriptStep::Down:
    case EditorScriptStep::Move:
    case EditorScriptStep::Up:
    case EditorScriptStep::Drag:
    case EditorScriptStep::RightClick:
    case EditorScriptStep::Wheel:
    case EditorScriptStep::Key:
    case EditorScriptStep::KeyDown:
    case EditorScriptStep::KeyUp:
    case EditorScriptStep::Type:
    case EditorScriptStep::Param:
        return true;
    default:
        return false;
    }
}

// Plays one step; false with the reason on failure.
bool play(EditorHost& host, const EditorScriptStep& s, std::string& error)
{
    const std::vector<long>& n = s.numbers;
    const bool pointed = s.kind <= EditorScriptStep::Wheel;
    if (pointed && n[0] != 0 && !host.control(static_cast<int>(n[0]))) {
        error = "no control " + std::to_string(n[0]);
        return false;
    }
    const int id = pointed ? static_cast<int>(n[0]) : 0;
    switch (s.kind) {
    case EditorScriptStep::Down:
        host.mouseDown(id, n[1], n[2]);
        break;
    case EditorScriptStep::Move:
        host.mouseMove(id, n[1], n[2]);
        break;
    case EditorScriptStep::Up:
        host.mouseUp(id, n[1], n[2]);
        break;
    case EditorScriptStep::Drag:
        host.drag(id, n[1], n[2], n[3], n[4]);
        break;
    case EditorScriptStep::RightClick:
        host.rightClick(id, n[1], n[2]);
        break;
    case EditorScriptStep::Wheel:
        host.wheel(id, n[1], n[2], n[3]);
        break;
    case EditorScriptStep::Key:
        host.key(n[0]);
        break;
    case EditorScriptStep::KeyDown:
        host.keyDown(n[0]);
        break;
    case EditorScriptStep::KeyUp:
        host.keyUp(n[0]);
        break;
    case EditorScriptStep::Type:
        if (!host.typeText(s.text)) {
            error = "no edit box has the focus";
            return false;
        }
        break;
    case EditorScriptStep::Menu:
        host.modal().chooseMenuItem(n[0]);
        break;
    case EditorScriptStep::MessageBox:
        host.modal().answerMessageBox(n[0]);
        break;
    case EditorScriptStep::Wait:
        host.pump(n[0]);
        break;
    case EditorScriptStep::Screenshot:
        host.pump(50);
        if (!host.screenshot(s.text, error))
            return false;
        break;
    case EditorScriptStep::Param:
        if (n[0] >= host.plugin().effect()->numParams) {
            error = "no parameter " + std::to_string(n[0]);
            return false;
        }
        host.plugin().setParameter(n[0], static_cast<float>(s.value));
        break;
    case EditorScriptStep::Note:
        host.audio().noteOn(n[0], n[1]);
        break;
    case EditorScriptStep::NoteOff:
        host.audio().noteOff(n[0]);
        break;
    case EditorScriptStep::Input:
        host.setRealInput(s.real);
        break;
    case EditorScriptStep::Dump:
        std::fputs(host.dump().c_str(), stdout);
        break;
    }
    return true;
}
} // namespace

static int runEditor(const EditorOptions& o)
{
    std::vector<EditorScriptStep> steps;
    if (!o.script.empty()) {
        std::ifstream file(o.script, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "nimhost: cannot read %s\n", o.script.c_str());
            return 1;
        }
        std::stringstream text;
        text << file.rdbuf();
        std::string error;
        if (!EditorScript::parse(text.str(), steps, error)) {
            std::fprintf(stderr, "nimhost: %s: %s\n", o.script.c_str(), error.c_str());
            return 2;
        }
    }

    std::string error;
    auto host = EditorHost::load(o.plugin, error);
    if (!host) {
        std::fprintf(stderr, "nimhost: %s\n", error.c_str());
        return 1;
    }
    for (int note : o.notes)
        host->audio().noteOn(note);
    if (!host->open(error)) {
        std::fprintf(stderr, "nimhost: %s: %s\n", o.plugin.c_str(), error.c_str());
        return 1;
    }
    host->pump(300); // first paints and idle calls

    // An armed menu or message box answer is awaited across the input steps
    // that follow, until its window has come and gone; another answer or
    // the script's end waits for it at most a few seconds.
    int result = 0;
    bool awaiting = false;
    int armedLine = 0;
    auto settle = [&](bool wait) {
        if (!awaiting || (!wait && !host->modal().done()))
            return true;
        awaiting = false;
        if (host->finishModal())
            return true;
        std::fprintf(stderr, "nimhost: %s line %d: no pop-up menu or message box opened\n",
                     o.script.c_str(), armedLine);
        result = 1;
        return false;
    };
    for (const EditorScriptStep& s : steps) {
        const bool arming =
            s.kind == EditorScriptStep::Menu || s.kind == EditorScriptStep::MessageBox;
        if (arming && !settle(true))
            break;
        if (!play(*host, s, error)) {
            std::fprintf(stderr, "nimhost: %s line %d: %s\n", o.script.c_str(), s.line,
                         error.c_str());
            result = 1;
            break;
        }
        if (arming) {
            awaiting = true;
            armedLine = s.line;
        } else if (isInput(s.kind)) {
            host->pump(20);
            if (!settle(false))
                break;
        }
    }
    if (result == 0)
        settle(true);
    if (result == 0) {
        host->pump(static_cast<int>(o.seconds * 1000.0));
        if (!o.screenshot.empty() && !host->screenshot(o.screenshot, error)) {
            std::fprintf(stderr, "nimhost: %s\n", error.c_str());
            result = 1;
        }
        if (o.dump)
            std::fputs(host->dump().c_str(), stdout);
    }
    host->close();
    for (const std::string& fault : host->faults()) {
        std::fprintf(stderr, "nimhost: fault inside the plug-in: %s\n", fault.c_str());
        result = 1;
    }
    return result;
}

void addEditorCommand(CLI::App& app, int& exitCode)
{
    auto o = std::make_shared<EditorOptions>();
    CLI::App* command = app.add_subcommand(
        "editor", "open the editor in a host window, play an input script, save a screenshot");
    command->add_option("PLUGIN", o->plugin, "the plug-in library")->required();
    command->add_option("--script", o->script, "input script (see README)");
    command->add_option("--screenshot", o->screenshot, "PNG of the window at the end")
        ->check(writableFile("--screenshot"));
    command->add_option("--seconds", o->seconds, "time before the screenshot (default 0.5)")
        ->check(numberIn("--seconds", 0.0, 3600.0));
    command->add_flag("--dump", o->dump, "print chunk, parameters and object counts");
    command->add_option("--note", o->notes, "a note held from the start (0..127), repeatable")
        ->check(wholeNumberIn("--note", 0, 127));
    command->callback([o, &exitCode] { exitCode = runEditor(*o); });
}
