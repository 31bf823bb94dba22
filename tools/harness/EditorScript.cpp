#include "EditorScript.h"

#include "Commands.h"

#include <cctype>
#include <cstring>
#include <sstream>

namespace {
struct Name {
    const char* word;
    long code;
};

const Name keyNames[] = {{"RETURN", 13}, {"ENTER", 13},  {"ESCAPE", 27}, {"TAB", 9}, {"SPACE", 32},
                         {"BACK", 8},    {"DELETE", 46}, {"LEFT", 37},   {"UP", 38}, {"RIGHT", 39},
                         {"DOWN", 40},   {"HOME", 36},   {"END", 35}};
const Name buttonNames[] = {{"IDOK", 1},     {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4},
                            {"IDIGNORE", 5}, {"IDYES", 6},    {"IDNO", 7}};

std::string upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool integer(const std::string& word, long& value)
{
    return parseInteger(word, -1000000L, 1000000L, value);
}
} // namespace

long EditorScript::keyCode(const std::string& word)
{
    long value = 0;
    if (word.size() > 1 && integer(word, value))
        return value >= 1 && value <= 254 ? value : -1;
    if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0])))
        return std::toupper(static_cast<unsigned char>(word[0]));
    const std::string name = upper(word);
    for (const Name& n : keyNames)
        if (name == n.word || name == std::string("VK_") + n.word)
            return n.code;
    return -1;
}

long EditorScript::buttonId(const std::string& word)
{
    long value = 0;
    if (integer(word, value))
        return value >= 0 && value <= 65535 ? value : -1;
    const std::string name = upper(word);
    for (const Name& n : buttonNames)
        if (name == n.word)
            return n.code;
    return -1;
}

bool EditorScript::parse(const std::string& text, std::vector<EditorScriptStep>& steps,
                         std::string& error)
{
    steps.clear();
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t hash = line.find('#');
        const std::string body = line.substr(0, hash);
        std::istringstream in(body);
        std::vector<std::string> words;
        for (std::string w; in >> w;)
            words.push_back(w);
        if (words.empty())
            continue;

        EditorScriptStep step;
        step.line = number;
        const std::string& verb = words[0];
        // Reads `count` whole numbers after the verb.
        auto numbers = [&](size_t count) {
            if (words.size() != count + 1)
                return false;
            for (size_t i = 1; i <= count; ++i) {
                long v = 0;
                if (!integer(words[i], v))
                    return false;
                step.numbers.push_back(v);
            }
            return true;
        };
        bool good = false;
        static const struct {
            const char* verb;
            EditorScriptStep::Kind kind;
            size_t count;
        } pointed[] = {{"down", EditorScriptStep::Down, 3},
                       {"move", EditorScriptStep::Move, 3},
                       {"up", EditorScriptStep::Up, 3},
                       {"drag", EditorScriptStep::Drag, 5},
                       {"rclick", EditorScriptStep::RightClick, 3},
                       {"wheel", EditorScriptStep::Wheel, 4},
                       {"menu", EditorScriptStep::Menu, 1},
                       {"wait", EditorScriptStep::Wait, 1},
                       {"noteoff", EditorScriptStep::NoteOff, 1}};
        bool known = false;
        for (const auto& p : pointed)
            if (verb == p.verb) {
                known = true;
                step.kind = p.kind;
                good = numbers(p.count);
            }
        if (known) {
            if (good && step.kind == EditorScriptStep::Wait && step.numbers[0] < 0)
                good = false;
            if (good && step.kind == EditorScriptStep::NoteOff &&
                (step.numbers[0] < 0 || step.numbers[0] > 127))
                good = false;
        } else if (verb == "key" || verb == "keydown" || verb == "keyup") {
            step.kind = verb == "key"       ? EditorScriptStep::Key
                        : verb == "keydown" ? EditorScriptStep::KeyDown
                                            : EditorScriptStep::KeyUp;
            const long code = words.size() == 2 ? keyCode(words[1]) : -1;
            step.numbers.push_back(code);
            good = code > 0;
        } else if (verb == "type") {
            step.kind = EditorScriptStep::Type;
            // The text after "type " as written, comments excepted.
            const size_t at = body.find("type") + 4;
            step.text = at < body.size() ? body.substr(at + 1) : std::string();
            while (!step.text.empty() && step.text.back() == ' ')
                step.text.pop_back();
            good = !step.text.empty();
        } else if (verb == "msgbox") {
            step.kind = EditorScriptStep::MessageBox;
            const long id = words.size() == 2 ? buttonId(words[1]) : -1;
            step.numbers.push_back(id);
            good = id >= 0;
        } else if (verb == "screenshot") {
            step.kind = EditorScriptStep::Screenshot;
            good = words.size() == 2;
            if (good)
                step.text = words[1];
        } else if (verb == "param") {
            step.kind = EditorScriptStep::Param;
            long index = 0;
            good = words.size() == 3 && parseInteger(words[1], 0, 100000, index) &&
                   parseNumber(words[2], step.value) && step.value >= 0.0 && step.value <= 1.0;
            step.numbers.push_back(index);
        } else if (verb == "note") {
            step.kind = EditorScriptStep::Note;
            long note = 0, velocity = 100;
            good = (words.size() == 2 || words.size() == 3) &&
                   parseInteger(words[1], 0, 127, note) &&
                   (words.size() == 2 || parseInteger(words[2], 1, 127, velocity));
            step.numbers = {note, velocity};
        } else if (verb == "input") {
            step.kind = EditorScriptStep::Input;
            good = words.size() == 2 && (words[1] == "real" || words[1] == "posted");
            step.real = good && words[1] == "real";
        } else if (verb == "dump") {
            step.kind = EditorScriptStep::Dump;
            good = words.size() == 1;
        }
        if (!good) {
            error = "line " + std::to_string(number) + ": cannot read '" + line + "'";
            return false;
        }
        steps.push_back(step);
    }
    return true;
}
