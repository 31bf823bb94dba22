// The input script of `nimhost editor`: one step per line, words separated
// by blanks, "#" starts a comment. Parsing is plain text work, so it is kept
// apart from the Win32 host that plays the steps.
//
//   down ID X Y        left button pressed at client point X, Y of control ID
//   move ID X Y        pointer moved there (button state as it is)
//   up ID X Y          left button released there
//   drag ID X0 Y0 X1 Y1  down, eight moves along the line, up
//   rclick ID X Y      right button pressed and released there
//   wheel ID X Y DELTA mouse wheel turned by DELTA (120 is one notch up)
//   key VK             a key pressed and released (number, letter, digit
//                      or name: RETURN, ESCAPE, TAB, SPACE, BACK, DELETE,
//                      LEFT, RIGHT, UP, DOWN, HOME, END)
//   keydown VK, keyup VK  one half of a key press (held keys)
//   type TEXT          the rest of the line typed into the focused box
//   menu INDEX         the next pop-up menu chooses the item at INDEX
//                      (-1: cancel); give it before the input that opens it
//   msgbox BUTTON      the next message box is answered with BUTTON (IDOK,
//                      IDCANCEL, IDYES, IDNO, ... or a number); before the
//                      input that opens it
//   wait MS            messages and idle calls for MS milliseconds
//   screenshot FILE    PNG of the host window's client area
//   param I V          the host sets parameter I to V (0..1)
//   note N [VEL]       note-on to the audio thread; noteoff N: note-off
//   input real|posted  real input (cursor and key state move) or posted
//                      window messages (the default)
//   dump               chunk, parameters and object counts to stdout
#pragma once

#include <string>
#include <vector>

struct EditorScriptStep {
    enum Kind {
        Down,
        Move,
        Up,
        Drag,
        RightClick,
        Wheel,
        Key,
        KeyDown,
        KeyUp,
        Type,
        Menu,
        MessageBox,
        Wait,
        Screenshot,
        Param,
        Note,
        NoteOff,
        Input,
        Dump
    };
    Kind kind = Wait;
    std::vector<long> numbers; // control id and points, key code, index, ...
    double value = 0.0;        // param: the value
    std::string text;          // type: the text; screenshot: the file
    bool real = false;         // input: real input on
    int line = 0;              // 1-based line in the script
};

class EditorScript {
public:
    // Parses a whole script; on failure returns false and names the line.
    static bool parse(const std::string& text, std::vector<EditorScriptStep>& steps,
                      std::string& error);
    // Virtual-key code of a key word (number, single letter or digit, or a
    // name listed above); -1 when unknown.
    static long keyCode(const std::string& word);
    // Dialog button id of a word (IDOK ... IDNO or a number); -1 when unknown.
    static long buttonId(const std::string& word);
};
