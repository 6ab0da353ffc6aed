#include "tests/win/ViewFixture.h"

#include <stdexcept>

ViewFixture::ViewFixture(int windowWidth, int windowHeight) : view(std::make_unique<CMyScrollView>()) {
    if (!frame.CreateEx(0, AfxRegisterWndClass(0), L"view test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                        windowWidth + 40, windowHeight + 60, nullptr, nullptr))
        throw std::runtime_error("cannot make the test frame");
    CCreateContext context;
    context.m_pCurrentDoc = &doc;
    if (!view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, windowWidth, windowHeight), &frame, 1, &context))
        throw std::runtime_error("cannot make the view");
    view->OnInitialUpdate();
    PumpMessages(20);
}

ViewFixture::~ViewFixture() {
    view.reset();
    frame.DestroyWindow();
}

bool ViewFixture::Open(const std::wstring& path) {
    if (!doc.OnOpenDocument(path.c_str()))
        return false;
    view->OnInitialUpdate();
    return true;
}

void ViewFixture::ResizeWindow(int width, int height) {
    view->MoveWindow(0, 0, width, height);
}

CRect ViewFixture::Client() const {
    CRect client;
    view->GetClientRect(&client);
    return client;
}

SCROLLINFO ViewFixture::VerticalBar() const {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    view->GetScrollInfo(SB_VERT, &info, SIF_ALL);
    return info;
}

SCROLLINFO ViewFixture::HorizontalBar() const {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    view->GetScrollInfo(SB_HORZ, &info, SIF_ALL);
    return info;
}

COLORREF ViewFixture::Picture::At(int x, int y) const {
    return pixels.at(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x));
}

ViewFixture::Picture ViewFixture::Paint(COLORREF background) {
    const CRect client = Client();
    CClientDC screen(view.get());
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height());
    Picture picture;
    picture.width = client.Width();
    picture.height = client.Height();
    {
        CSelectGuard selectBitmap(memory, bitmap);
        CBrush fill;
        fill.CreateSolidBrush(background);
        memory.FillRect(&client, &fill);
        view->OnDraw(&memory);
    }
    // Read back as top-down 32-bit pixels (blue, green, red, unused) and turn into COLORREFs.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> raw(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(picture.height), raw.data(), &info, DIB_RGB_COLORS);
    picture.pixels.reserve(raw.size());
    for (const DWORD bgr : raw)
        picture.pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    return picture;
}
