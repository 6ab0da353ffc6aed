#include "tests/e2e/Screen.h"

#include <algorithm>
#include <array>
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

Image CaptureScreen(const RECT& r) {
    int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return Image();
    HDC screen = GetDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Image image;
    if (dib && bits) {
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
        GdiFlush();
        image = Image(width, height);
        std::memcpy(image.Pixels().data(), bits, image.Pixels().size() * sizeof(uint32_t));
        for (uint32_t& p : image.Pixels())
            p &= 0xFFFFFF;
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    if (dib)
        DeleteObject(dib);
    ReleaseDC(nullptr, screen);
    return image;
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
// PNG: RGB, 8 bits per channel, compressed with fixed-code deflate and a small LZ77 matcher
// that looks one pixel back, one row back and at the last place the same three bytes occurred.
// Screenshots of windows are mostly flat colour and repeated rows, which this catches well.

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

class BitWriter {
public:
    void Bits(uint32_t value, int count)  // least significant bit first
    {
        for (int i = 0; i < count; ++i) {
            m_current |= static_cast<uint8_t>(((value >> i) & 1u) << m_used);
            if (++m_used == 8)
                Flush();
        }
    }
    void Code(uint32_t code, int length)  // Huffman codes go most significant bit first
    {
        for (int i = length - 1; i >= 0; --i)
            Bits((code >> i) & 1u, 1);
    }
    std::vector<uint8_t> Finish() {
        if (m_used)
            Flush();
        return std::move(m_out);
    }

private:
    void Flush() {
        m_out.push_back(m_current);
        m_current = 0;
        m_used = 0;
    }
    std::vector<uint8_t> m_out;
    uint8_t m_current = 0;
    int m_used = 0;
};

void FixedLiteral(BitWriter& w, int symbol) {
    if (symbol < 144)
        w.Code(0x30 + symbol, 8);
    else if (symbol < 256)
        w.Code(0x190 + (symbol - 144), 9);
    else if (symbol < 280)
        w.Code(symbol - 256, 7);
    else
        w.Code(0xC0 + (symbol - 280), 8);
}

const int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                             31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const int kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                               193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const int kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void FixedMatch(BitWriter& w, int length, int distance) {
    int l = 28;
    while (kLengthBase[l] > length)
        --l;
    FixedLiteral(w, 257 + l);
    w.Bits(static_cast<uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
    int d = 29;
    while (kDistanceBase[d] > distance)
        --d;
    w.Code(static_cast<uint32_t>(d), 5);
    w.Bits(static_cast<uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data, int rowBytes) {
    const int kWindow = 32768, kMaxMatch = 258, kHashSize = 1 << 15;
    std::vector<int> lastSeen(kHashSize, -1);
    auto hashAt = [&](size_t i) { return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & (kHashSize - 1); };
    BitWriter w;
    w.Bits(1, 1);  // the final block
    w.Bits(1, 2);  // fixed Huffman codes
    size_t i = 0, n = data.size();
    while (i < n) {
        int bestLength = 0, bestDistance = 0;
        if (i + 3 <= n) {
            int candidates[3] = {3, rowBytes, -1};
            int seen = lastSeen[hashAt(i)];
            if (seen >= 0)
                candidates[2] = static_cast<int>(i) - seen;
            for (int distance : candidates) {
                if (distance <= 0 || distance > kWindow || static_cast<size_t>(distance) > i)
                    continue;
                int length = 0;
                while (length < kMaxMatch && i + length < n && data[i + length] == data[i + length - distance])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                }
            }
        }
        if (bestLength >= 3) {
            FixedMatch(w, bestLength, bestDistance);
            for (int k = 0; k < bestLength; ++k, ++i)
                if (i + 3 <= n)
                    lastSeen[hashAt(i)] = static_cast<int>(i);
        } else {
            FixedLiteral(w, data[i]);
            if (i + 3 <= n)
                lastSeen[hashAt(i)] = static_cast<int>(i);
            ++i;
        }
    }
    FixedLiteral(w, 256);  // end of block
    return w.Finish();
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    PutBigEndian(out, static_cast<uint32_t>(body.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBigEndian(out, Crc32(typed.data(), typed.size()));
}

}  // namespace

std::vector<uint8_t> EncodePng(const Image& image) {
    const int width = image.Width(), height = image.Height();
    const int rowBytes = 1 + 3 * width;
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(rowBytes) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < width; ++x) {
            uint32_t p = image.At(x, y);
            raw.push_back(static_cast<uint8_t>(p >> 16));
            raw.push_back(static_cast<uint8_t>(p >> 8));
            raw.push_back(static_cast<uint8_t>(p));
        }
    }
    std::vector<uint8_t> zlib = {0x78, 0x01};
    std::vector<uint8_t> deflated = Deflate(raw, rowBytes);
    zlib.insert(zlib.end(), deflated.begin(), deflated.end());
    PutBigEndian(zlib, Adler32(raw));

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(width));
    PutBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter set, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

bool Image::SavePng(const std::wstring& path) const {
    if (Empty())
        return false;
    std::vector<uint8_t> bytes = EncodePng(*this);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

// ---------------------------------------------------------------------------------------------
// The dump line text

std::string DumpLineText(uint32_t offset, const uint8_t* bytes, int count) {
    char buffer[16];
    std::string offsetField, hex, chars;
    std::snprintf(buffer, sizeof buffer, "  %08X     ", offset);
    offsetField = buffer;
    for (int i = 0; i < 16; ++i) {
        if (i < count) {
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

DumpReader::DumpReader() {
    HDC screen = GetDC(nullptr);
    m_dc = CreateCompatibleDC(screen);
    LOGFONTW font{};
    // 9 points for the screen's vertical resolution, as a point-size font made without a
    // device context is.
    font.lfHeight = -MulDiv(90, GetDeviceCaps(screen, LOGPIXELSY), 720);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(font.lfFaceName, L"Courier New");
    ReleaseDC(nullptr, screen);
    m_font = CreateFontIndirectW(&font);
    m_oldFont = SelectObject(m_dc, m_font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(m_dc, &metrics);
    m_cellWidth = metrics.tmAveCharWidth;
    m_cellHeight = metrics.tmHeight;
}

DumpReader::~DumpReader() {
    SelectObject(m_dc, m_oldFont);
    DeleteObject(m_font);
    DeleteDC(m_dc);
}

Image DumpReader::Render(const std::string& ansiText, uint32_t background, int width, int height, int x, int y) const {
    if (width <= 0 || height <= 0)
        return Image();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Image out;
    if (!dib || !bits)
        return out;
    HGDIOBJ old = SelectObject(m_dc, dib);
    PatBlt(m_dc, 0, 0, width, height, WHITENESS);
    // COLORREF is 0x00BBGGRR; the pictures here are 0x00RRGGBB.
    SetBkColor(m_dc, RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
    SetTextColor(m_dc, RGB(0, 0, 0));
    SetBkMode(m_dc, OPAQUE);
    TextOutA(m_dc, x, y, ansiText.data(), static_cast<int>(ansiText.size()));
    GdiFlush();
    out = Image(width, height);
    std::memcpy(out.Pixels().data(), bits, out.Pixels().size() * sizeof(uint32_t));
    for (uint32_t& p : out.Pixels())
        p &= 0xFFFFFF;
    SelectObject(m_dc, old);
    DeleteObject(dib);
    return out;
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

long long DumpReader::ReadOffset(const Image& shot, int y) const {
    if (y < 0 || y + m_cellHeight > shot.Height() || shot.Width() < 10 * m_cellWidth)
        return -1;
    uint32_t background = shot.At(1, y + 1);  // column 0 of every line is a blank
    long long value = 0;
    for (int column = 2; column < 10; ++column) {
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
