// The `nimhost editor` script reader: every step's words, and lines it must
// refuse with their line number instead of guessing.
#include "EditorScript.h"

#include <gtest/gtest.h>

TEST(EditorScript, ReadsEveryStepWithItsNumbers)
{
    const char* text = "# press the master knob\n"
                       "down 1022 20 30\r\n"
                       "move 1022 20 -45   # above the knob\n"
                       "up 1022 20 -45\n"
                       "drag 1024 30 40 60 20\n"
                       "rclick 1036 5 5\n"
                       "wheel 1022 10 10 -120\n"
                       "key RETURN\nkey a\nkeydown 0x41\nkeyup 65\n"
                       "type -3.5 dB\n"
                       "menu 2\nmsgbox IDYES\nmsgbox 7\n"
                       "\n   \n"
                       "wait 250\nscreenshot out.png\nparam 22 0.75\n"
                       "note 60\nnote 64 90\nnoteoff 60\ninput real\ninput posted\ndump\n";
    std::vector<EditorScriptStep> steps;
    std::string error;
    ASSERT_TRUE(EditorScript::parse(text, steps, error)) << error;
    ASSERT_EQ(steps.size(), 23u);
    EXPECT_EQ(steps[0].kind, EditorScriptStep::Down);
    EXPECT_EQ(steps[0].numbers, (std::vector<long>{1022, 20, 30}));
    EXPECT_EQ(steps[0].line, 2);
    EXPECT_EQ(steps[1].numbers, (std::vector<long>{1022, 20, -45}));
    EXPECT_EQ(steps[3].kind, EditorScriptStep::Drag);
    EXPECT_EQ(steps[3].numbers, (std::vector<long>{1024, 30, 40, 60, 20}));
    EXPECT_EQ(steps[5].numbers.back(), -120);
    EXPECT_EQ(steps[6].numbers[0], 13);
    EXPECT_EQ(steps[7].numbers[0], 'A');
    EXPECT_EQ(steps[8].kind, EditorScriptStep::KeyDown);
    EXPECT_EQ(steps[8].numbers[0], 0x41);
    EXPECT_EQ(steps[9].numbers[0], 65);
    EXPECT_EQ(steps[10].kind, EditorScriptStep::Type);
    EXPECT_EQ(steps[10].text, "-3.5 dB");
    EXPECT_EQ(steps[11].numbers[0], 2);
    EXPECT_EQ(steps[12].numbers[0], 6);
    EXPECT_EQ(steps[13].numbers[0], 7);
    EXPECT_EQ(steps[14].numbers[0], 250);
    EXPECT_EQ(steps[15].text, "out.png");
    EXPECT_EQ(steps[16].numbers[0], 22);
    EXPECT_DOUBLE_EQ(steps[16].value, 0.75);
    EXPECT_EQ(steps[17].numbers, (std::vector<long>{60, 100}));
    EXPECT_EQ(steps[18].numbers, (std::vector<long>{64, 90}));
    EXPECT_EQ(steps[19].kind, EditorScriptStep::NoteOff);
    EXPECT_TRUE(steps[20].real);
    EXPECT_FALSE(steps[21].real);
    EXPECT_EQ(steps[22].kind, EditorScriptStep::Dump);
    EXPECT_EQ(steps[22].line, 26);
}

TEST(EditorScript, RefusesBadLinesNamingThem)
{
    const char* bad[] = {"down 1022 20",
                         "down 1022 20 30 40",
                         "move a b c",
                         "wheel 1 2 3",
                         "key",
                         "key NOSUCHKEY",
                         "key 300",
                         "type",
                         "type   ",
                         "menu",
                         "msgbox IDMAYBE",
                         "wait -5",
                         "wait 1.5",
                         "param 1 1.5",
                         "param 1 nan",
                         "param -1 0.5",
                         "note 128",
                         "note 60 0",
                         "noteoff 200",
                         "input maybe",
                         "dump now",
                         "screenshot",
                         "explode 1 2 3",
                         "down 1e9 0 0"};
    for (const char* line : bad) {
        std::vector<EditorScriptStep> steps;
        std::string error;
        const std::string text = std::string("wait 1\n") + line + "\n";
        EXPECT_FALSE(EditorScript::parse(text, steps, error)) << line;
        EXPECT_NE(error.find("line 2"), std::string::npos) << line << ": " << error;
    }
}

TEST(EditorScript, NamesKeysAndButtons)
{
    EXPECT_EQ(EditorScript::keyCode("escape"), 27);
    EXPECT_EQ(EditorScript::keyCode("VK_DOWN"), 40);
    EXPECT_EQ(EditorScript::keyCode("7"), '7');
    EXPECT_EQ(EditorScript::keyCode("z"), 'Z');
    EXPECT_EQ(EditorScript::keyCode("0"), '0'); // a digit key, not key code 0
    EXPECT_EQ(EditorScript::keyCode("!"), -1);
    EXPECT_EQ(EditorScript::buttonId("IDOK"), 1);
    EXPECT_EQ(EditorScript::buttonId("idcancel"), 2);
    EXPECT_EQ(EditorScript::buttonId("-1"), -1);
}
