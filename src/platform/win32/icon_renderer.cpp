#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "tray/icon_render.h"

namespace lv {
namespace {

// Larger than any small icon Windows asks for; beyond it the picture is a mistake.
constexpr int32_t kMaxIconSize = 256;

std::size_t PixelCount(int32_t size) { return static_cast<std::size_t>(size) * static_cast<std::size_t>(size); }

// Draws every run; false when the font or any drawing fails.
bool DrawRuns(HDC dc, const IconPicture& picture) {
    const FontSpec& spec = picture.font;
    win32::UniqueFont font(::CreateFontA(spec.height, spec.width, 0, 0, spec.weight, FALSE, FALSE,
                                         spec.strikeOut ? TRUE : FALSE, 0, OUT_DEFAULT_PRECIS,
                                         CLIP_DEFAULT_PRECIS, spec.quality, DEFAULT_PITCH, spec.face.c_str()));
    if (!font) return false;
    const win32::ScopedSelectObject selectFont(dc, font.Get());
    if (!selectFont) return false;
    if (::SetBkMode(dc, TRANSPARENT) == 0) return false;
    for (const TextRun& run : picture.runs) {
        if (run.text.empty()) continue;
        if (::SetTextColor(dc, run.colour) == CLR_INVALID) return false;
        RECT rect{run.rect.left, run.rect.top, run.rect.right, run.rect.bottom};
        if (::DrawTextA(dc, run.text.c_str(), static_cast<int>(run.text.size()), &rect, run.format) == 0)
            return false;
    }
    return true;  // the font is deselected before it is freed: guards end in reverse order
}

}  // namespace

IconHandle Win32TrayApi::RenderIcon(const IconPicture& picture) {
    const int32_t size = picture.size;
    if (size <= 0 || size > kMaxIconSize) return 0;

    // Bottom-up 32-bit pixels with an alpha channel the icon takes over.
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof(header);
    header.bV5Width = size;
    header.bV5Height = size;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;

    void* bits = nullptr;
    win32::UniqueBitmap colour;
    {
        const win32::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        if (!dc) return 0;
        colour.Reset(::CreateDIBSection(dc.Get(), reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                        &bits, nullptr, 0));
        if (!colour || !bits) return 0;
        std::memset(bits, 0, PixelCount(size) * sizeof(uint32_t));

        const win32::ScopedSelectObject selectBitmap(dc.Get(), colour.Get());
        if (!selectBitmap) return 0;
        if (!DrawRuns(dc.Get(), picture)) return 0;
        // GDI may batch the drawing; the pixels are read directly below.
        ::GdiFlush();
    }  // the bitmap is deselected before the DC goes

    ApplyAlphaRule(std::span<uint32_t>(static_cast<uint32_t*>(bits), PixelCount(size)));

    // The alpha channel decides transparency; the mask only has to exist.
    const win32::UniqueBitmap mask(::CreateBitmap(size, size, 1, 1, nullptr));
    if (!mask) return 0;
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.Get();
    info.hbmColor = colour.Get();
    return reinterpret_cast<IconHandle>(::CreateIconIndirect(&info));
}

}  // namespace lv
