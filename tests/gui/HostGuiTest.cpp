// The GUI test host checked against a plug-in with a tiny editor of known
// behaviour (tests/support/TestEditorPlugin.cpp): the window and idle
// calls, pixels of child windows, posted and real input, modal loops
// answered from the driver thread, fault reports, object counts and the
// audio thread running beside the editor.
#include "EditorHost.h"
#include "PluginFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {
const char* const kPlugin = PLUGIN_FILE("testeditor");
enum { Level, Choice, Clicks, DragY, Answer, Idles, Notes, Leak };
const int kPad = 1001, kBox = 1002, kAsk = 1003;
const uint32_t kYellow = RgbImage::rgb(250, 200, 0), kBlue = RgbImage::rgb(20, 120, 200);

class HostGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        host = EditorHost::load(kPlugin, error);
        ASSERT_TRUE(host) << error;
        ASSERT_TRUE(host->open(error)) << error;
        host->pump(100);
    }
    void TearDown() override
    {
        if (host) {
            EXPECT_TRUE(host->faults().empty()) << host->faults()[0];
        }
        host.reset();
    }
    float param(int index) { return host->plugin().getParameter(index); }

    std::unique_ptr<EditorHost> host;
};
} // namespace

TEST_F(HostGui, OpensTheEditorAtItsSizeAndCallsIdleAboutThirtyTimesASecond)
{
    RECT client;
    GetClientRect(host->window(), &client);
    EXPECT_EQ(client.right, 240);
    EXPECT_EQ(client.bottom, 160);
    EXPECT_EQ(host->controlClass(kPad), "TestEditorPad");
    EXPECT_EQ(host->controlText(kAsk), "Ask");
    const RECT pad = host->controlRect(kPad);
    EXPECT_EQ(pad.left, 10);
    EXPECT_EQ(pad.top, 10);
    EXPECT_EQ(pad.right, 110);
    const int before = host->idleCalls();
    host->pump(500);
    // Timers are not exact; the count shows the timer runs at its period.
    EXPECT_GE(host->idleCalls() - before, 8);
    EXPECT_LE(host->idleCalls() - before, 20);
    EXPECT_GT(param(Idles), 0.0f);
}

TEST_F(HostGui, CapturesThePixelsOfChildWindowsAndWritesThemAsPng)
{
    const RgbImage image = host->capture();
    ASSERT_EQ(image.width, 240);
    ASSERT_EQ(image.height, 160);
    EXPECT_EQ(image.at(50, 40), kYellow); // the pad, a grandchild of the host
    EXPECT_EQ(image.at(200, 150), kBlue); // the panel
    EXPECT_EQ(image.at(120, 40), kBlue);  // right of the pad
    std::string error;
    ASSERT_TRUE(host->screenshot("host-gui-test.png", error)) << error;
    std::ifstream file("host-gui-test.png", std::ios::binary);
    char head[8] = {};
    file.read(head, 8);
    EXPECT_EQ(std::string(head + 1, 3), "PNG");
    file.close();
    std::remove("host-gui-test.png");
}

TEST_F(HostGui, PostedMouseInputReachesTheControlWithSignedPoints)
{
    host->mouseDown(kPad, 5, 5);
    EXPECT_NEAR(param(Clicks), 0.01f, 1e-6f);
    host->drag(kPad, 5, 5, 5, -20); // above the pad, as while a drag holds the capture
    EXPECT_NEAR(param(DragY), -0.20f, 1e-6f);
    host->wheel(kPad, 5, 5, 240);
    EXPECT_NEAR(param(DragY), -0.18f, 1e-6f);
    EXPECT_NEAR(param(Clicks), 0.02f, 1e-6f);
}

TEST_F(HostGui, RealInputMovesTheCursorAndClicks)
{
    host->setRealInput(true);
    host->mouseDown(kPad, 30, 20);
    POINT cursor;
    GetCursorPos(&cursor);
    POINT expected = {30, 20};
    ClientToScreen(host->control(kPad), &expected);
    EXPECT_EQ(cursor.x, expected.x);
    EXPECT_EQ(cursor.y, expected.y);
    host->mouseMove(kPad, 30, 45);
    host->mouseUp(kPad, 30, 45);
    EXPECT_NEAR(param(Clicks), 0.01f, 1e-6f);
    EXPECT_NEAR(param(DragY), 0.45f, 1e-6f);
}

TEST_F(HostGui, ChoosesPopupMenuItemsByPositionAndReadsTheirTexts)
{
    host->modal().chooseMenuItem(3);
    host->rightClick(kPad, 20, 20);
    ASSERT_TRUE(host->finishModal());
    const std::vector<std::string> items = {"One", "-", "Two", "Three"};
    EXPECT_EQ(host->modal().menuItems(), items);
    EXPECT_NEAR(param(Choice), 0.4f, 1e-6f);

    host->modal().chooseMenuItem(0);
    host->rightClick(kPad, 20, 20);
    ASSERT_TRUE(host->finishModal());
    EXPECT_NEAR(param(Choice), 0.1f, 1e-6f);

    host->modal().chooseMenuItem(-1); // cancelled: TrackPopupMenu returns 0
    host->rightClick(kPad, 20, 20);
    ASSERT_TRUE(host->finishModal());
    EXPECT_EQ(param(Choice), 0.0f);
}

TEST_F(HostGui, AnswersMessageBoxesAndReadsTheirText)
{
    host->modal().answerMessageBox(IDNO);
    host->mouseDown(kAsk, 5, 5);
    host->mouseUp(kAsk, 5, 5);
    ASSERT_TRUE(host->finishModal());
    EXPECT_EQ(host->modal().messageText(), "Proceed?");
    EXPECT_NEAR(param(Answer), 0.1f * IDNO, 1e-6f);
}

TEST_F(HostGui, ReportsAMissingModalWindowInsteadOfHanging)
{
    host->modal().chooseMenuItem(0, 300);
    host->mouseDown(kPad, 5, 5); // opens no menu
    host->mouseUp(kPad, 5, 5);
    EXPECT_FALSE(host->finishModal());
}

TEST_F(HostGui, TypesIntoTheFocusedBox)
{
    host->mouseDown(kBox, 5, 5);
    host->mouseUp(kBox, 5, 5);
    ASSERT_TRUE(host->typeText("42"));
    EXPECT_NEAR(param(Level), 0.42f, 1e-6f);
}

TEST_F(HostGui, ReportsFaultsInsideThePluginThatWineSwallows)
{
    host->clearFaults();
    PostMessageA(host->editorWindow(), WM_USER + 99, 0, 16);
    host->pump(50);
    const std::vector<std::string> faults = host->faults();
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_NE(faults[0].find("0xC0000005"), std::string::npos) << faults[0];
    host->clearFaults();
}

TEST_F(HostGui, CountsGdiObjectsAndWindowsAcrossOpenAndClose)
{
    host->close();
    std::string error;
    ASSERT_TRUE(host->open(error)) << error; // first open settles cached DCs
    host->pump(50);
    host->close();
    const ObjectCounts before = ObjectCounts::take();
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(host->open(error)) << error;
        host->pump(20);
        host->close();
    }
    const ObjectCounts clean = ObjectCounts::take();
    EXPECT_EQ(clean.gdiTotal(), before.gdiTotal()) << before.describe() << "\n" << clean.describe();
    EXPECT_EQ(clean.windows, before.windows);

    // A plug-in that leaks a brush per open is seen.
    host->plugin().setParameter(Leak, 1.0f);
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(host->open(error)) << error;
        host->close();
    }
    EXPECT_EQ(ObjectCounts::take().brushes - clean.brushes, 10);
    ASSERT_TRUE(host->open(error)) << error;
}

TEST_F(HostGui, AudioRunsBesideTheEditorAndNeverWaitsForIt)
{
    host->audio().noteOn(60);
    host->pump(100);
    EXPECT_GT(param(Notes), 0.0f);
    EXPECT_GE(host->audio().midiDelivered(), 1u);
    // The UI thread stalls without pumping; blocks keep coming.
    const uint64_t before = host->audio().blocksRendered();
    Sleep(300);
    EXPECT_GT(host->audio().blocksRendered(), before + 5);
    host->audio().stop();
    const std::vector<float> left = host->audio().recentLeft(256);
    ASSERT_EQ(left.size(), 256u);
    EXPECT_EQ(left.back(), 0.125f);
}

TEST(HostGuiInstances, TwoEditorsSideBySideShowTheirOwnWindows)
{
    std::string error;
    EditorHost::Options right;
    right.x = 400;
    auto a = EditorHost::load(kPlugin, error);
    ASSERT_TRUE(a) << error;
    auto b = EditorHost::load(kPlugin, error, right);
    ASSERT_TRUE(b) << error;
    ASSERT_TRUE(a->open(error)) << error;
    ASSERT_TRUE(b->open(error)) << error;
    a->pump(100);
    b->mouseDown(kPad, 5, 5);
    b->mouseUp(kPad, 5, 5);
    EXPECT_EQ(a->plugin().getParameter(Clicks), 0.0f);
    EXPECT_NEAR(b->plugin().getParameter(Clicks), 0.01f, 1e-6f);
    EXPECT_EQ(a->capture().at(50, 40), kYellow);
    EXPECT_EQ(b->capture().at(50, 40), kYellow);
    EXPECT_TRUE(a->faults().empty());
}
