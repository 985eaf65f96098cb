// Real icons drawn by GDI, read back pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

namespace lv {
namespace {

struct IconPixels {
    int32_t size = 0;
    std::vector<uint32_t> pixels;  // top row first, 0xAARRGGBB

    int Count(uint32_t pixel) const { return static_cast<int>(std::count(pixels.begin(), pixels.end(), pixel)); }
    int Opaque() const {
        return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return p >> 24 == 0xFF; }));
    }
};

// What the icon holds: a square 32-bit colour bitmap and a mask.
std::optional<IconPixels> ReadIcon(IconHandle handle) {
    ICONINFO info{};
    if (!::GetIconInfo(reinterpret_cast<HICON>(handle), &info)) return std::nullopt;
    const win32::UniqueBitmap colour(info.hbmColor);
    const win32::UniqueBitmap mask(info.hbmMask);
    if (!info.fIcon || !colour || !mask) return std::nullopt;
    BITMAP bitmap{};
    if (!::GetObjectW(colour.Get(), sizeof(bitmap), &bitmap) || bitmap.bmWidth != bitmap.bmHeight ||
        bitmap.bmBitsPixel != 32)
        return std::nullopt;

    IconPixels result;
    result.size = bitmap.bmWidth;
    result.pixels.resize(static_cast<std::size_t>(result.size * result.size));
    BITMAPINFO request{};  // 32-bit, top-down
    request.bmiHeader = {sizeof(BITMAPINFOHEADER), result.size, -result.size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const win32::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc || ::GetDIBits(dc.Get(), colour.Get(), 0, static_cast<UINT>(result.size), result.pixels.data(), &request,
                           DIB_RGB_COLORS) != result.size)
        return std::nullopt;
    return result;
}

class Win32IconRendererTest : public ::testing::Test {
protected:
    // Renders, reads back and destroys the icon.
    IconPixels Render(const IconPicture& picture) {
        const IconHandle icon = tray.RenderIcon(picture);
        EXPECT_NE(icon, 0u);
        if (icon == 0) return {};
        std::optional<IconPixels> pixels = ReadIcon(icon);
        tray.DestroyIcon(icon);
        EXPECT_TRUE(pixels.has_value());
        return pixels.value_or(IconPixels{});
    }

    static IconPicture Picture(std::string text, uint32_t colour, uint8_t quality = win::kNonAntialiasedQuality,
                               int32_t size = 16) {
        IconPicture picture;
        picture.size = size;
        picture.font = {"Segoe UI", size * 125 / 100, 0, 400, false, quality};
        picture.runs.push_back(
            {std::move(text), {0, 0, size, size}, colour, win::kDtSingleLine | win::kDtCenter | win::kDtVCenter});
        return picture;
    }

    Win32WindowApi window;
    Win32TrayApi tray{window};
};

// Smoothed text keeps its fringe opaque; unsmoothed text is exactly the text colour.
TEST_F(Win32IconRendererTest, DrawnPixelsAreOpaqueTheBackgroundTransparent) {
    for (const uint8_t quality : {win::kNonAntialiasedQuality, win::kAntialiasedQuality, win::kClearTypeQuality}) {
        SCOPED_TRACE(int{quality});
        const IconPixels icon = Render(Picture("47", 0x0011D21B, quality));
        ASSERT_EQ(icon.size, 16);
        EXPECT_EQ(icon.Opaque() + icon.Count(0), icon.size * icon.size) << "every pixel untouched (0) or opaque";
        EXPECT_GT(icon.Opaque(), 10) << "something was drawn";
        EXPECT_GT(icon.Count(0), 0) << "the background stays transparent";
        if (quality == win::kNonAntialiasedQuality) {
            EXPECT_EQ(icon.Count(0xFF1BD211), icon.Opaque()) << "every pixel drawn is the text colour";
        }
    }
}

TEST_F(Win32IconRendererTest, RenderingLeavesNoGdiObjectsBehind) {
    const HANDLE process = ::GetCurrentProcess();
    (void)Render(Picture("42", 0x00FFFFFF));  // the first drawing may cache the font
    const DWORD before = ::GetGuiResources(process, GR_GDIOBJECTS);
    for (int i = 0; i < 50; ++i) {
        const IconHandle icon = tray.RenderIcon(Picture(std::to_string(i), 0x00FFFFFF));
        ASSERT_NE(icon, 0u);
        tray.DestroyIcon(icon);
    }
    EXPECT_TRUE(tray.RenderIcon(Picture("5", 1, win::kNonAntialiasedQuality, 0)) == 0u);
    const DWORD after = ::GetGuiResources(process, GR_GDIOBJECTS);
    if (before == 0 && after == 0) GTEST_SKIP() << "the system does not count GDI objects";
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace lv
