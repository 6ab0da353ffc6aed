#include "tests/e2e/Screen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace e2e {

Image::Image(int width, int height, uint32_t fill)
    : m_width(std::max(0, width)), m_height(std::max(0, height)),
      m_pixels(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), fill) {}

uint32_t Image::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)] & 0xFFFFFF;
}

void Image::Set(int x, int y, uint32_t rgb) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height)
        m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)] = rgb & 0xFFFFFF;
}

Image Image::Crop(const RECT& r) const {
    int left = std::max(0, static_cast<int>(r.left)), top = std::max(0, static_cast<int>(r.top));
    int right = std::min(m_width, static_cast<int>(r.right)), bottom = std::min(m_height, static_cast<int>(r.bottom));
    Image out(right - left, bottom - top);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            out.Set(x - left, y - top, At(x, y));
    return out;
}

// ---------------------------------------------------------------------------------------------
// Screen capture

namespace {

// The header of a top-down 32-bit bitmap: one 0x00RRGGBB value per pixel, as Image keeps them.
BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A picture of the bits of a TopDown32 section once GDI has finished drawing into it.
Image FromBits(const void* bits, int width, int height) {
    GdiFlush();
    Image image(width, height);
    std::memcpy(image.Pixels().data(), bits, image.Pixels().size() * sizeof(uint32_t));
    for (uint32_t& p : image.Pixels())
        p &= 0xFFFFFF;
    return image;
}

}  // namespace

Image CaptureScreen(const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return Image();
    ScreenDc screen;
    const BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    GdiObject<HBITMAP> dib(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc memory(screen.get());
    if (!dib || !bits || !memory)
        return Image();
    SelectGuard select(memory.get(), dib.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY | CAPTUREBLT);
    return FromBits(bits, width, height);
}

Image CaptureClient(HWND window) {
    RECT client{};
    if (!GetClientRect(window, &client))
        return Image();
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT onScreen{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    return CaptureScreen(onScreen);
}

Image CaptureWindow(HWND window) {
    RECT r{};
    if (!GetWindowRect(window, &r))
        return Image();
    return CaptureScreen(r);
}

// ---------------------------------------------------------------------------------------------
// BMP: a file header, an information header and the rows bottom up, three bytes a pixel (blue,
// green, red), each row padded to four bytes.

bool Image::SaveBmp(const std::wstring& path) const {
    if (Empty())
        return false;
    const size_t rowBytes = (static_cast<size_t>(m_width) * 3 + 3) & ~size_t{3};
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = m_width;
    info.biHeight = m_height;  // positive: the last row comes first
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(rowBytes * static_cast<size_t>(m_height));
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;

    std::vector<uint8_t> bytes(file.bfSize);
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
    for (int y = 0; y < m_height; ++y) {
        uint8_t* row = bytes.data() + file.bfOffBits + static_cast<size_t>(m_height - 1 - y) * rowBytes;
        for (int x = 0; x < m_width; ++x) {
            const uint32_t p = At(x, y);
            *row++ = static_cast<uint8_t>(p);
            *row++ = static_cast<uint8_t>(p >> 8);
            *row++ = static_cast<uint8_t>(p >> 16);
        }
    }
    const Handle out(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return out && WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// ---------------------------------------------------------------------------------------------
// The dump line text

namespace {
// A line of `count` bytes of which the first `shown` are known.
std::string LineText(uint64_t offset, const uint8_t* bytes, int count, int shown, int digits = 8) {
    char buffer[32];
    std::string offsetField, hex, chars;
    std::snprintf(buffer, sizeof buffer, "  %0*llX     ", digits, static_cast<unsigned long long>(offset));
    offsetField = buffer;
    for (int i = 0; i < 16; ++i) {
        if (i < shown) {
            std::snprintf(buffer, sizeof buffer, "%02X ", bytes[i]);
            hex += buffer;
            char c = static_cast<char>(bytes[i]);
            chars += IsCharAlphaNumericA(c) ? c : '.';
        } else {
            hex += "   ";
            chars += ' ';
        }
        if (i == 7)
            hex += count > 8 ? "- " : "  ";
    }
    return offsetField + hex + "    " + chars + "   ";
}
}  // namespace

std::string DumpLineText(uint64_t offset, const uint8_t* bytes, int count, int digits) {
    return LineText(offset, bytes, count, count, digits);
}

std::string UnreadDumpLineText(uint32_t offset) {
    return LineText(offset, nullptr, 16, 0);
}

std::string DumpLineOfFile(const std::vector<uint8_t>& file, int line) {
    size_t offset = static_cast<size_t>(line) * 16;
    uint8_t bytes[16] = {};
    int count = 0;
    for (; count < 16 && offset + count < file.size(); ++count)
        bytes[count] = file[offset + count];
    return DumpLineText(static_cast<uint32_t>(offset), bytes, count);
}

// ---------------------------------------------------------------------------------------------
// Drawing text as the viewer does

namespace {

// The viewer's dump font: 9 points for the screen's vertical resolution, as a point-size font
// made without a device context is.
HFONT MakeDumpFont() {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(90, GetDeviceCaps(ScreenDc().get(), LOGPIXELSY), 720);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(font.lfFaceName, L"Courier New");
    return CreateFontIndirectW(&font);
}

}  // namespace

DumpReader::DumpReader() : m_dc(ScreenDc().get()), m_font(MakeDumpFont()), m_fontSelected(m_dc.get(), m_font.get()) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(m_dc.get(), &metrics);
    m_cellWidth = metrics.tmAveCharWidth;
    m_cellHeight = metrics.tmHeight;
}

Image DumpReader::Render(const std::string& ansiText, uint32_t background, int width, int height, int x, int y) const {
    if (width <= 0 || height <= 0)
        return Image();
    const HDC dc = m_dc.get();
    const BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    GdiObject<HBITMAP> dib(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits)
        return Image();
    SelectGuard select(dc, dib.get());
    PatBlt(dc, 0, 0, width, height, WHITENESS);
    // COLORREF is 0x00BBGGRR; the pictures here are 0x00RRGGBB.
    SetBkColor(dc, RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, OPAQUE);
    TextOutA(dc, x, y, ansiText.data(), static_cast<int>(ansiText.size()));
    return FromBits(bits, width, height);
}

int DumpReader::Mismatch(const Image& shot, int y, const std::string& ansiText, uint32_t background,
                         int scrollX) const {
    int textWidth = m_cellWidth * static_cast<int>(ansiText.size()) - scrollX;
    int width = std::min(shot.Width(), textWidth);
    int height = std::min(m_cellHeight, shot.Height() - y);
    if (width <= 0 || height <= 0)
        return m_cellWidth * m_cellHeight * static_cast<int>(ansiText.size()) + 1;  // nothing to compare
    Image expected = Render(ansiText, background, width, height, -scrollX, 0);
    int differ = 0;
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x)
            differ += shot.At(x, y + row) != expected.At(x, row);
    return differ;
}

int DumpReader::CellMismatch(const Image& shot, int x, int y, char ch, uint32_t background) const {
    Image glyph = Render(std::string(1, ch), background, m_cellWidth, m_cellHeight, 0, 0);
    int differ = 0;
    for (int row = 0; row < m_cellHeight; ++row)
        for (int col = 0; col < m_cellWidth; ++col)
            differ += shot.At(x + col, y + row) != glyph.At(col, row);
    return differ;
}

long long DumpReader::ReadOffset(const Image& shot, int y, int digits) const {
    if (y < 0 || y + m_cellHeight > shot.Height() || shot.Width() < (digits + 2) * m_cellWidth)
        return -1;
    uint32_t background = shot.At(1, y + 1);  // column 0 of every line is a blank
    long long value = 0;
    for (int column = 2; column < digits + 2; ++column) {
        int best = -1, bestMismatch = m_cellWidth * m_cellHeight;
        for (int digit = 0; digit < 16; ++digit) {
            char ch = "0123456789ABCDEF"[digit];
            int mismatch = CellMismatch(shot, column * m_cellWidth, y, ch, background);
            if (mismatch < bestMismatch) {
                bestMismatch = mismatch;
                best = digit;
            }
        }
        // A digit that is drawn the way the viewer draws text matches exactly; allow a few
        // pixels for neighbouring cells that bleed into this one.
        if (best < 0 || bestMismatch > m_cellWidth * m_cellHeight / 10)
            return -1;
        value = value * 16 + best;
    }
    return value;
}

}  // namespace e2e
