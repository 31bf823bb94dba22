// The hyperspace view's pictures and cursors in the built instrument: the
// sizes the view tiles its bitmaps at, legends that run through the colours
// the flock shows, and 1,792 cursors in 16 x 16 colour groups of seven
// shrinking arrows with their hot spot at the tip.
#include "EditorResources.h"
#include "HyperspaceGeometry.h"
#include "PluginFiles.h"
#include "SynthTables.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class HyperspaceResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() { module = LoadLibraryA(PLUGIN_FILE("nimbulator")); }
    static void TearDownTestSuite()
    {
        if (module)
            FreeLibrary(module);
        module = nullptr;
    }

    static const BITMAPINFOHEADER* bitmap(int id)
    {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
        if (!found || SizeofResource(module, found) < sizeof(BITMAPINFOHEADER))
            return nullptr;
        return static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
    }
    // Pixel (x, y from the top) of a 24-bit bottom-up bitmap resource.
    static COLORREF pixel(const BITMAPINFOHEADER* h, int x, int y)
    {
        const unsigned char* bits = reinterpret_cast<const unsigned char*>(h + 1);
        const int row = (h->biWidth * 3 + 3) & ~3;
        const unsigned char* p = bits + (h->biHeight - 1 - y) * row + 3 * x;
        return RGB(p[2], p[1], p[0]);
    }

    struct CursorImage {
        int hotX = -1, hotY = -1, width = 0, height = 0;
        int opaque = 0;    // pixels the AND mask keeps
        COLORREF fill = 0; // the brightest opaque pixel
        bool ok = false;
    };
    static CursorImage cursor(int id)
    {
        CursorImage c;
        HCURSOR handle = static_cast<HCURSOR>(
            LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_CURSOR, 0, 0, LR_DEFAULTCOLOR));
        if (!handle)
            return c;
        ICONINFO info{};
        if (GetIconInfo(handle, &info) && info.hbmColor && info.hbmMask) {
            c.hotX = static_cast<int>(info.xHotspot);
            c.hotY = static_cast<int>(info.yHotspot);
            BITMAP b{};
            GetObjectA(info.hbmColor, sizeof b, &b);
            c.width = b.bmWidth;
            c.height = b.bmHeight;
            HDC dc = CreateCompatibleDC(nullptr);
            BITMAPINFO bi{};
            bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            bi.bmiHeader.biWidth = c.width;
            bi.bmiHeader.biHeight = -c.height;
            bi.bmiHeader.biPlanes = 1;
            bi.bmiHeader.biBitCount = 32;
            std::vector<uint32_t> colour(c.width * c.height), mask(c.width * c.height);
            GetDIBits(dc, info.hbmColor, 0, c.height, colour.data(), &bi, DIB_RGB_COLORS);
            GetDIBits(dc, info.hbmMask, 0, c.height, mask.data(), &bi, DIB_RGB_COLORS);
            DeleteDC(dc);
            int brightest = -1;
            for (size_t k = 0; k < colour.size(); ++k) {
                if ((mask[k] & 0xFFFFFF) != 0)
                    continue; // transparent
                ++c.opaque;
                const uint32_t p = colour[k];
                const int sum = (p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF);
                if (sum > brightest) {
                    brightest = sum;
                    c.fill = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
                }
            }
            c.ok = true;
        }
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        if (info.hbmMask)
            DeleteObject(info.hbmMask);
        DestroyCursor(handle);
        return c;
    }

    static HMODULE module;
};
HMODULE HyperspaceResources::module = nullptr;

const SynthTables& tables()
{
    static SynthTables t;
    return t;
}

} // namespace

TEST_F(HyperspaceResources, BitmapsHaveTheViewsSizes)
{
    ASSERT_NE(module, nullptr);
    const struct {
        int id, width, height;
    } expected[] = {
        {IDB_HYPERSPACE, 398, 368}, {IDB_HUE_LEGEND, 30, 10}, {IDB_LUMINANCE_LEGEND, 30, 10}};
    for (const auto& e : expected) {
        const BITMAPINFOHEADER* h = bitmap(e.id);
        ASSERT_NE(h, nullptr) << e.id;
        EXPECT_EQ(h->biWidth, e.width) << e.id;
        EXPECT_EQ(h->biHeight, e.height) << e.id;
        EXPECT_EQ(h->biBitCount, 24) << e.id;
    }
}

TEST_F(HyperspaceResources, LegendsRunThroughTheFlocksHuesAndFromBlackToWhite)
{
    const BITMAPINFOHEADER* hue = bitmap(IDB_HUE_LEGEND);
    const BITMAPINFOHEADER* grey = bitmap(IDB_LUMINANCE_LEGEND);
    ASSERT_TRUE(hue && grey);
    // Band k of 16 shows the colour of hue k / 15 at middle luminance.
    for (int k : {0, 5, 10, 15}) {
        const int x = (2 * k + 1) * 30 / 32;
        hyperspace::Colour c = hyperspace::oscillatorColour(tables(), k / 15.0f, 0.5f);
        EXPECT_EQ(pixel(hue, x, 5), RGB(c.red, c.green, c.blue)) << "band " << k;
    }
    EXPECT_EQ(pixel(grey, 0, 5), RGB(0, 0, 0));
    EXPECT_EQ(pixel(grey, 29, 5), RGB(255, 255, 255));
    EXPECT_LT(GetRValue(pixel(grey, 10, 5)), GetRValue(pixel(grey, 20, 5)));
}

TEST_F(HyperspaceResources, EveryCursorOfTheSixteenBySixteenGroupsExists)
{
    ASSERT_NE(module, nullptr);
    int missing = 0;
    for (int id = 2000; id <= 3791; ++id)
        missing += FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(12)) == nullptr;
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(3792), MAKEINTRESOURCEA(12)), nullptr);
}

TEST_F(HyperspaceResources, CursorsShrinkFromTheFrontAndTakeTheirGroupsColour)
{
    ASSERT_NE(module, nullptr);
    for (int group : {0, 7 * 16 + 7, 3 * 16 + 12, 255}) {
        const int hue = group / 16, luminance = group % 16;
        int last = 32 * 32 + 1;
        for (int size = 0; size < 7; ++size) {
            const int id = hyperspace::cursorId(hue, luminance, size);
            CursorImage c = cursor(id);
            ASSERT_TRUE(c.ok) << id;
            EXPECT_EQ(c.width, 32) << id;
            EXPECT_EQ(c.height, 32) << id;
            EXPECT_EQ(c.hotX, 2) << id;
            EXPECT_EQ(c.hotY, 4) << id;
            EXPECT_LT(c.opaque, last) << id;
            last = c.opaque;
            // The arrow's fill is the colour of the middle of the group.
            hyperspace::Colour k =
                hyperspace::oscillatorColour(tables(), (hue + 0.5f) / 16, (luminance + 0.5f) / 16);
            EXPECT_NEAR(GetRValue(c.fill), k.red, 2) << id;
            EXPECT_NEAR(GetGValue(c.fill), k.green, 2) << id;
            EXPECT_NEAR(GetBValue(c.fill), k.blue, 2) << id;
        }
        EXPECT_GT(last, 12); // the smallest is still an arrow
    }
}
