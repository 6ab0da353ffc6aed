// Screen.h: what the end-to-end tests see of the viewer: screen captures, saved as BMP files, and
// the hex dump read back from the pixels by drawing the expected text the same way.
#pragma once

#include <windows.h>

#include "tests/e2e/Handles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// A picture, rows top down: one 0x00RRGGBB value per pixel (red high, unlike a COLORREF).
class Image {
public:
    Image() = default;
    Image(int width, int height, uint32_t fill = 0xFFFFFF);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Empty() const { return m_width == 0 || m_height == 0; }
    // 0x00RRGGBB; 0 outside the picture.
    uint32_t At(int x, int y) const;
    void Set(int x, int y, uint32_t rgb);
    // The part of the picture inside r (picture coordinates), cut to the picture.
    Image Crop(const RECT& r) const;

    // Writes a 24-bit BMP; false when the picture is empty or the file cannot be written.
    bool SaveBmp(const std::wstring& path) const;

    const std::vector<uint32_t>& Pixels() const { return m_pixels; }
    std::vector<uint32_t>& Pixels() { return m_pixels; }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;
};

inline uint32_t Rgb(int r, int g, int b) {
    return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}
const uint32_t kWhite = 0xFFFFFF;
const uint32_t kCyan = 0x00FFFF;

// The screen's pixels inside r (screen coordinates).
Image CaptureScreen(const RECT& r);
// The client area of a window, from the screen (so only what is really shown).
Image CaptureClient(HWND window);
// The whole window, frame included.
Image CaptureWindow(HWND window);

// The text of one dump line, built independently of the viewer's code: the offset in `digits`
// hex digits, 16 hex cells with "- " after the eighth when the line has more than 8 bytes, and
// the character column, where letters and digits of the ANSI code page show as themselves.
std::string DumpLineText(uint64_t offset, const uint8_t* bytes, int count, int digits = 8);
std::string DumpLineOfFile(const std::vector<uint8_t>& file, int line);
// A whole line whose bytes could not be read: its offset and blank cells.
std::string UnreadDumpLineText(uint32_t offset);

// Draws text the way the viewer draws its dump (9-point Courier New, default character set,
// opaque background, one call per line) and compares it with captured pixels.
class DumpReader {
public:
    DumpReader();

    int CellWidth() const { return m_cellWidth; }
    int CellHeight() const { return m_cellHeight; }

    // The text drawn at (x, y) of a picture as the viewer would draw it, on the given
    // background, into a picture of the given size (everything else white).
    Image Render(const std::string& ansiText, uint32_t background, int width, int height, int x, int y) const;

    // Number of pixels in the band of one text line (one cell high, from x = 0 to the end of
    // the text or the picture) that differ from the text drawn at (-scrollX, y).
    int Mismatch(const Image& shot, int y, const std::string& ansiText, uint32_t background, int scrollX = 0) const;
    bool Shows(const Image& shot, int y, const std::string& ansiText, uint32_t background, int scrollX = 0) const {
        return Mismatch(shot, y, ansiText, background, scrollX) == 0;
    }

    // Reads the hex digits of the offset field of the line drawn at y (from column 2; eight
    // unless the file's offsets take more), by drawing each candidate digit and taking the
    // closest. Returns -1 when the band holds no readable offset (a blank band, or nothing close
    // enough).
    long long ReadOffset(const Image& shot, int y, int digits = 8) const;

private:
    int CellMismatch(const Image& shot, int x, int y, char ch, uint32_t background) const;

    // Declared in this order so that the font is selected out before it and the DC are deleted.
    MemoryDc m_dc;
    GdiObject<HFONT> m_font;
    SelectGuard m_fontSelected;
    int m_cellWidth = 0;
    int m_cellHeight = 0;
};

}  // namespace e2e
