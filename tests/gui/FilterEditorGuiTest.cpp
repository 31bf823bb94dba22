// The quenvarel editor in a host window under the GUI test host: where its
// controls are, how user moves reach the effect (editor flag, no echo, no
// automation), how host changes reach the controls (also from another
// thread while the editor is open), the depth buttons across a re-open,
// object counts over open/close cycles, and audio that does not depend on
// the editor being open.
#include "EditorHost.h"
#include "PluginFiles.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <thread>
#include <vector>

namespace {
const char* const kPlugin = PLUGIN_FILE("quenvarel");
enum { PreGain, Resonance, Cutoff, Depth, PostGain };
const int kPreGainSlider = 1017, kPostGainSlider = 1018, kCutoffSlider = 1013,
          kResonanceSlider = 1012, kDepth12 = 1014, kDepth24 = 1015, kDepth48 = 1016,
          kWebSite = 1005;

class QuenvarelGui : public ::testing::Test {
protected:
    void SetUp() override { openHost(EditorHost::Options()); }
    void openHost(const EditorHost::Options& options)
    {
        std::string error;
        host = EditorHost::load(kPlugin, error, options);
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
    int position(int slider)
    {
        return static_cast<int>(SendMessageA(host->control(slider), TBM_GETPOS, 0, 0));
    }
    bool checked(int button)
    {
        return SendMessageA(host->control(button), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // Which of the three depth buttons are checked, as "12 24 48" flags.
    std::vector<bool> depthButtons()
    {
        return {checked(kDepth12), checked(kDepth24), checked(kDepth48)};
    }
    void click(int id)
    {
        const RECT r = host->controlRect(id);
        const int x = (r.right - r.left) / 2, y = (r.bottom - r.top) / 2;
        host->mouseDown(id, x, y);
        host->mouseUp(id, x, y);
        host->pump(20);
    }

    std::unique_ptr<EditorHost> host;
};

int brightness(uint32_t colour)
{
    return static_cast<int>(((colour >> 16) & 255) + ((colour >> 8) & 255) + (colour & 255));
}
} // namespace

// Bitmap 101 as the library carries it: the size the editor's rectangle
// has, 24 bits deep.
TEST(QuenvarelResources, TheBackgroundIsA483By218TrueColourBitmap)
{
    HMODULE module = LoadLibraryExA(kPlugin, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(2));
    ASSERT_NE(found, nullptr);
    ASSERT_GE(SizeofResource(module, found), sizeof(BITMAPINFOHEADER));
    const BITMAPINFOHEADER* header =
        static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
    EXPECT_EQ(header->biWidth, 483);
    EXPECT_EQ(header->biHeight, 218);
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(102), MAKEINTRESOURCEA(5)), nullptr);
    FreeLibrary(module);
}

TEST_F(QuenvarelGui, FillsItsPictureWithEveryControlWhereTheTemplatePutsIt)
{
    RECT client;
    GetClientRect(host->window(), &client);
    EXPECT_EQ(client.right, 483);
    EXPECT_EQ(client.bottom, 218);
    const RECT dialog = host->controlRect(0);
    EXPECT_EQ(dialog.left, 0);
    EXPECT_EQ(dialog.top, 0);
    EXPECT_EQ(dialog.right, 483);
    EXPECT_EQ(dialog.bottom, 218);

    // Template positions at 6 x 13 pixels per 4 x 8 dialog units, whatever
    // font Wine substitutes for the dialog's.
    const struct {
        int id;
        const char* className;
        const char* text;
        RECT at;
    } controls[] = {
        {kPreGainSlider, "msctls_trackbar32", "", {81, 75, 231, 99}},
        {kPostGainSlider, "msctls_trackbar32", "", {81, 109, 231, 133}},
        {kCutoffSlider, "msctls_trackbar32", "", {300, 75, 450, 99}},
        {kResonanceSlider, "msctls_trackbar32", "", {300, 109, 450, 133}},
        {kDepth12, "Button", "12dB", {423, 11, 473, 27}},
        {kDepth24, "Button", "24dB", {423, 26, 473, 42}},
        {kDepth48, "Button", "48dB", {423, 42, 473, 58}},
        {kWebSite,
         "Button",
         "Check out our amazing range of audio plugins at www.orvalend.example",
         {29, 158, 454, 207}},
    };
    for (const auto& c : controls) {
        EXPECT_EQ(host->controlClass(c.id), c.className) << c.id;
        EXPECT_EQ(host->controlText(c.id), c.text) << c.id;
        const RECT r = host->controlRect(c.id);
        EXPECT_EQ(r.left, c.at.left) << c.id;
        EXPECT_EQ(r.top, c.at.top) << c.id;
        EXPECT_EQ(r.right, c.at.right) << c.id;
        EXPECT_EQ(r.bottom, c.at.bottom) << c.id;
    }
    const LONG style = GetWindowLongA(host->control(kCutoffSlider), GWL_STYLE);
    EXPECT_TRUE(style & TBS_BOTH);
    EXPECT_TRUE(style & TBS_NOTICKS);
    EXPECT_TRUE(GetWindowLongA(host->control(kWebSite), GWL_STYLE) & BS_MULTILINE);

    // The defaults: PreGain 0.25, PostGain 1, Cutoff 0.8, Resonance 0.5, 24dB.
    EXPECT_EQ(position(kPreGainSlider), 100);
    EXPECT_EQ(position(kPostGainSlider), 400);
    EXPECT_EQ(position(kCutoffSlider), 320);
    EXPECT_EQ(position(kResonanceSlider), 200);
    EXPECT_EQ(depthButtons(), (std::vector<bool>{false, true, false}));
    for (int id : {kPreGainSlider, kCutoffSlider, kResonanceSlider, kPostGainSlider})
        EXPECT_EQ(SendMessageA(host->control(id), TBM_GETRANGEMAX, 0, 0), 400) << id;

    // The picture: black, with the logo's blue ring at the top left; the
    // labels and buttons draw on it, not on grey boxes.
    const RgbImage image = host->capture();
    EXPECT_EQ(image.at(5, 214), RgbImage::rgb(0, 0, 0));
    EXPECT_EQ(image.at(478, 214), RgbImage::rgb(0, 0, 0));
    const uint32_t ring = image.at(36, 14);
    EXPECT_GT(ring & 255, (ring >> 16) & 255) << std::hex << ring; // more blue than red
    EXPECT_GT(brightness(ring), 200) << std::hex << ring;
    const RECT label = host->controlRect(kDepth48);
    EXPECT_EQ(image.at(label.right - 2, label.bottom - 2), RgbImage::rgb(0, 0, 0));
}

TEST_F(QuenvarelGui, SliderMovesReachTheEffectWithoutEchoOrAutomation)
{
    click(kCutoffSlider); // a press on the channel pages the thumb and focuses the slider
    host->key(VK_END);
    EXPECT_EQ(position(kCutoffSlider), 400);
    EXPECT_EQ(param(Cutoff), 1.0f);
    host->key(VK_HOME);
    host->key(VK_RIGHT);
    EXPECT_EQ(position(kCutoffSlider), 1);
    EXPECT_EQ(param(Cutoff), 0.0025f);

    // Dragging the PostGain thumb from the right end to the left end.
    const RECT r = host->controlRect(kPostGainSlider);
    RECT thumb = {};
    SendMessageA(host->control(kPostGainSlider), TBM_GETTHUMBRECT, 0,
                 reinterpret_cast<LPARAM>(&thumb));
    const int y = (thumb.top + thumb.bottom) / 2, x = (thumb.left + thumb.right) / 2;
    host->drag(kPostGainSlider, x, y, x - (r.right - r.left), y);
    EXPECT_EQ(position(kPostGainSlider), 0);
    EXPECT_EQ(param(PostGain), 0.0f);

    // The editor's changes are its own: the host hears of none of them.
    EXPECT_TRUE(host->plugin().automations.empty());
    // And the other sliders did not move.
    EXPECT_EQ(position(kPreGainSlider), 100);
    EXPECT_EQ(position(kResonanceSlider), 200);
}

TEST_F(QuenvarelGui, HostChangesMoveTheirControls)
{
    host->plugin().setParameter(Cutoff, 0.5f);
    EXPECT_EQ(position(kCutoffSlider), 200);
    host->plugin().setParameter(PreGain, 0.123f);
    EXPECT_EQ(position(kPreGainSlider), 49);
    host->plugin().setParameter(PostGain, 0.7f);
    EXPECT_EQ(position(kPostGainSlider), 280);
    host->plugin().setParameter(Resonance, 1.5f); // out of range: the end
    EXPECT_EQ(position(kResonanceSlider), 400);

    host->plugin().setParameter(Depth, 0.2f);
    EXPECT_EQ(depthButtons(), (std::vector<bool>{true, false, false}));
    host->plugin().setParameter(Depth, 0.5f);
    EXPECT_EQ(depthButtons(), (std::vector<bool>{false, true, false}));
    host->plugin().setParameter(Depth, 0.7f);
    EXPECT_EQ(depthButtons(), (std::vector<bool>{false, false, true}));
    host->plugin().setParameter(Depth, 1.04f); // bypasses the filter: no button
    EXPECT_EQ(depthButtons(), (std::vector<bool>{false, false, false}));

    // Repainting the sliders never writes their rounded positions back over
    // the values the host set.
    RedrawWindow(host->editorWindow(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    host->pump(100);
    EXPECT_EQ(param(PreGain), 0.123f);
    EXPECT_EQ(param(Resonance), 1.5f);
    EXPECT_TRUE(host->plugin().automations.empty());
}

TEST_F(QuenvarelGui, TwentyFourDbSelectsTwoStagesAndIsCheckedAgainAfterReopening)
{
    host->plugin().setParameter(Depth, 1.0f);
    ASSERT_EQ(depthButtons(), (std::vector<bool>{false, false, true}));
    click(kDepth24);
    EXPECT_EQ(param(Depth), 0.44482756f);
    EXPECT_EQ(depthButtons(), (std::vector<bool>{false, true, false}));
    click(kDepth12);
    EXPECT_EQ(param(Depth), 0.1f);
    click(kDepth24);
    EXPECT_TRUE(host->plugin().automations.empty());

    host->close();
    std::string error;
    ASSERT_TRUE(host->open(error)) << error;
    host->pump(50);
    EXPECT_EQ(depthButtons(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(param(Depth), 0.44482756f);
}

// Automation from a thread other than the UI thread never waits for the UI
// thread: it keeps going while the UI thread pumps no messages at all, and
// while the editor closes and opens. The controls catch up at the next idle.
TEST_F(QuenvarelGui, HostAutomationFromAnotherThreadNeverWaitsForTheEditor)
{
    std::atomic<bool> stop{false};
    std::atomic<long> calls{0};
    std::thread automation([&] {
        for (long i = 0; !stop.load(); ++i) {
            host->plugin().setParameter(static_cast<int>(i % 5), (i % 401) * 0.0025f);
            calls.fetch_add(1);
            if (i % 256 == 0)
                std::this_thread::yield(); // leave the UI and audio threads some time
        }
    });
    host->pump(200);
    const long before = calls.load();
    Sleep(300); // the UI thread is busy elsewhere
    const long during = calls.load() - before;
    for (int i = 0; i < 10; ++i) {
        host->close();
        std::string error;
        ASSERT_TRUE(host->open(error)) << error;
        host->pump(20);
    }
    stop.store(true);
    automation.join();
    EXPECT_GT(during, 1000);

    // The last values win.
    std::thread last([&] {
        host->plugin().setParameter(Cutoff, 0.25f);
        host->plugin().setParameter(Depth, 0.0f);
    });
    last.join();
    host->pump(150); // a few idle calls
    EXPECT_EQ(position(kCutoffSlider), 100);
    EXPECT_EQ(depthButtons(), (std::vector<bool>{true, false, false}));
}

TEST_F(QuenvarelGui, HundredOpenAndCloseCyclesLeakNoGdiOrUserObjects)
{
    host->close();
    std::string error;
    ASSERT_TRUE(host->open(error)) << error; // the first open settles cached DCs
    host->pump(50);
    host->close();
    const ObjectCounts before = ObjectCounts::take();
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(host->open(error)) << error;
        host->pump(i % 10 == 0 ? 40 : 5); // some cycles paint and idle
        host->close();
    }
    const ObjectCounts after = ObjectCounts::take();
    std::printf("before: %s\nafter:  %s\n", before.describe().c_str(), after.describe().c_str());
    EXPECT_EQ(after.gdiTotal(), before.gdiTotal()) << before.describe() << "\n" << after.describe();
    EXPECT_EQ(after.windows, before.windows);
    ASSERT_TRUE(host->open(error)) << error;
}

TEST_F(QuenvarelGui, TheWebSiteButtonWithoutABrowserDoesNothingAndSaysNothing)
{
    const ObjectCounts before = ObjectCounts::take();
    click(kWebSite);
    host->pump(300);
    // No message box or other window came up (Wine's HTML Help has no browser
    // engine in the test prefix), and the editor still works.
    EXPECT_EQ(ObjectCounts::take().windows, before.windows);
    host->plugin().setParameter(Cutoff, 0.5f);
    EXPECT_EQ(position(kCutoffSlider), 200);
}

namespace {
// Processes `blocks` blocks of a two-tone test signal in place of the audio
// thread, calling `between` before each block, and returns both channels.
std::vector<float> renderSignal(PluginHost& plugin, int blocks,
                                const std::function<void(int)>& between)
{
    const int n = 256;
    std::vector<float> out;
    std::vector<float> in(n), left(n), right(n);
    for (int b = 0; b < blocks; ++b) {
        between(b);
        for (int i = 0; i < n; ++i) {
            const double t = (b * n + i) / 44100.0;
            in[i] = static_cast<float>(0.6 * std::sin(2 * 3.14159265358979 * 220 * t) +
                                       0.3 * std::sin(2 * 3.14159265358979 * 3520 * t));
        }
        float* ins[] = {in.data(), in.data()};
        float* outs[] = {left.data(), right.data()};
        plugin.processReplacing(ins, outs, n);
        out.insert(out.end(), left.begin(), left.end());
        out.insert(out.end(), right.begin(), right.end());
    }
    return out;
}
} // namespace

// The same signal and the same parameter changes give the same samples
// whether the changes come from the editor's controls, with the editor open
// and idling, or from a host without any editor.
TEST(QuenvarelGuiAudio, IsTheSameWithTheEditorOpenAsWithout)
{
    EditorHost::Options quiet;
    quiet.audio = false; // the test renders itself
    std::string error;
    auto withEditor = EditorHost::load(kPlugin, error, quiet);
    ASSERT_TRUE(withEditor) << error;
    ASSERT_TRUE(withEditor->open(error)) << error;
    auto plain = PluginHost::load(kPlugin, error);
    ASSERT_TRUE(plain) << error;
    plain->start(44100.0f, 256);

    auto press = [&](int id) {
        const RECT r = withEditor->controlRect(id);
        withEditor->mouseDown(id, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
        withEditor->mouseUp(id, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
    };
    const std::vector<float> edited = renderSignal(withEditor->plugin(), 200, [&](int b) {
        withEditor->pump(0);
        if (b == 40) {
            press(kCutoffSlider);
            withEditor->key(VK_HOME);
            for (int i = 0; i < 120; ++i)
                withEditor->key(VK_RIGHT); // 0.3
        }
        if (b == 80)
            press(kDepth12);
        if (b == 120) {
            press(kResonanceSlider);
            withEditor->key(VK_END); // 1.0
        }
    });
    const std::vector<float> hosted = renderSignal(*plain, 200, [&](int b) {
        if (b == 40)
            plain->setParameter(Cutoff, 0.3f);
        if (b == 80)
            plain->setParameter(Depth, 0.0f);
        if (b == 120)
            plain->setParameter(Resonance, 1.0f);
    });
    EXPECT_EQ(withEditor->plugin().getParameter(Cutoff), 0.3f);
    ASSERT_EQ(edited.size(), hosted.size());
    size_t differing = 0;
    for (size_t i = 0; i < edited.size(); ++i)
        differing += edited[i] != hosted[i];
    EXPECT_EQ(differing, 0u);
    EXPECT_TRUE(withEditor->faults().empty());
}
