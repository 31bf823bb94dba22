// The instrument library carries the editor's pictures at the sizes and
// depths the editor draws them with: read straight from the built DLL's
// resources, as the editor loads them.
#include "EditorResources.h"
#include "PluginFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {
class EditorResources : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        module = LoadLibraryExA(PLUGIN_FILE("nimbulator"), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite()
    {
        if (module)
            FreeLibrary(module);
        module = nullptr;
    }

    // The header of bitmap `id`, or null when the library has none.
    static const BITMAPINFOHEADER* bitmap(int id)
    {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
        if (!found || SizeofResource(module, found) < sizeof(BITMAPINFOHEADER))
            return nullptr;
        return static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
    }

    static HMODULE module;
};
HMODULE EditorResources::module = nullptr;

TEST_F(EditorResources, BitmapsHaveTheSizesTheEditorTilesThemAt)
{
    ASSERT_NE(module, nullptr);
    const struct {
        int id, width, height;
    } expected[] = {
        {IDB_BACKGROUND, 682, 539}, {IDB_KNOB_VOLUME, 45, 52},    {IDB_KNOB_PITCH, 45, 52},
        {IDB_KNOB_PAN, 45, 52},     {IDB_KNOB_RESONANCE, 45, 52}, {IDB_KNOB_NOISE, 45, 52},
        {IDB_KNOB_TUNE, 45, 27},    {IDB_KNOB_SMALL, 38, 47},
    };
    for (const auto& e : expected) {
        const BITMAPINFOHEADER* header = bitmap(e.id);
        ASSERT_NE(header, nullptr) << "bitmap " << e.id;
        EXPECT_EQ(header->biWidth, e.width) << "bitmap " << e.id;
        EXPECT_EQ(header->biHeight, e.height) << "bitmap " << e.id; // bottom-up
        EXPECT_EQ(header->biBitCount, 24) << "bitmap " << e.id;
        EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB)) << "bitmap " << e.id;
    }
}

TEST_F(EditorResources, KeyboardColumnsAreSixteenPalettedPicturesWithTheKeysInPlace)
{
    ASSERT_NE(module, nullptr);
    for (int id :
         {IDB_KEYS_EB_0, IDB_KEYS_EB_1, IDB_KEYS_EB_2, IDB_KEYS_EB_3, IDB_KEYS_CF_0, IDB_KEYS_CF_1,
          IDB_KEYS_CF_2, IDB_KEYS_CF_3, IDB_KEYS_DGA_0, IDB_KEYS_DGA_1, IDB_KEYS_DGA_2,
          IDB_KEYS_DGA_3, IDB_KEYS_DGA_4, IDB_KEYS_DGA_5, IDB_KEYS_DGA_6, IDB_KEYS_DGA_7}) {
        const BITMAPINFOHEADER* header = bitmap(id);
        ASSERT_NE(header, nullptr) << "bitmap " << id;
        EXPECT_EQ(header->biWidth, 16) << "bitmap " << id;
        EXPECT_EQ(header->biHeight, 60) << "bitmap " << id;
        EXPECT_EQ(header->biBitCount, 8) << "bitmap " << id;
        const DWORD colours = header->biClrUsed ? header->biClrUsed : 256;
        ASSERT_LE(colours, 256u);
        const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(header + 1);
        const unsigned char* pixels = reinterpret_cast<const unsigned char*>(table + colours);
        // Brightness at (x, y) from the top: rows are bottom-up, 16 bytes each.
        auto brightness = [&](int x, int y) {
            const RGBQUAD& c = table[pixels[(59 - y) * 16 + x]];
            return c.rgbRed + c.rgbGreen + c.rgbBlue;
        };
        // The white key's lower part is light, held or not.
        EXPECT_GT(brightness(7, 45), 3 * 140) << "bitmap " << id;
        // A C or F column has a black key at its right edge and none at its
        // left; an E or B column the other way round.
        const bool cf = id >= IDB_KEYS_CF_0 && id <= IDB_KEYS_CF_3;
        const bool eb = id == IDB_KEYS_EB_0 || id == IDB_KEYS_EB_1 || id == IDB_KEYS_EB_2 ||
                        id == IDB_KEYS_EB_3;
        const int left = brightness(1, 12), right = brightness(14, 12);
        EXPECT_EQ(left > 3 * 140, cf) << "bitmap " << id << " left " << left;
        EXPECT_EQ(right > 3 * 140, eb) << "bitmap " << id << " right " << right;
    }
}

TEST_F(EditorResources, KnobFacesAreDarkWhereTheWhiteValueTextGoes)
{
    // The value text is white at the bottom 13 pixels of a knob; the face
    // there must be dark or the value cannot be read.
    const BITMAPINFOHEADER* header = bitmap(IDB_KNOB_VOLUME);
    ASSERT_NE(header, nullptr);
    const unsigned char* pixels = reinterpret_cast<const unsigned char*>(header + 1);
    const int rowBytes = (header->biWidth * 3 + 3) & ~3;
    // Bottom-up rows: row 2 is two pixels above the bottom edge; near the
    // left and right edges, where the cap does not reach.
    for (int x : {2, static_cast<int>(header->biWidth) - 3}) {
        const unsigned char* p = pixels + 2 * rowBytes + 3 * x;
        EXPECT_LT(p[0] + p[1] + p[2], 3 * 96) << "x " << x;
    }
}

TEST_F(EditorResources, IconOffersSmallAndLargeImages)
{
    ASSERT_NE(module, nullptr);
    HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDI_NIMBULATOR), MAKEINTRESOURCEA(14));
    ASSERT_NE(group, nullptr);
    // The group directory: reserved, type 1, count, then 14-byte entries.
    const unsigned char* dir =
        static_cast<const unsigned char*>(LockResource(LoadResource(module, group)));
    ASSERT_NE(dir, nullptr);
    const int count = dir[4] | (dir[5] << 8);
    bool has16 = false, has32 = false;
    for (int i = 0; i < count; ++i) {
        has16 |= dir[6 + 14 * i] == 16;
        has32 |= dir[6 + 14 * i] == 32;
    }
    EXPECT_TRUE(has16);
    EXPECT_TRUE(has32);
}
} // namespace
