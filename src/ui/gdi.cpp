#include "ui/gdi.h"

#include "ui/window.h"

namespace quorlet::ui {

OffscreenCanvas::OffscreenCanvas(HDC target, const RECT& area)
    : m_target(target), m_area(area), m_dc(CreateCompatibleDC(target)) {
    m_bitmap = CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top);
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
    SetWindowOrgEx(m_dc, area.left, area.top, nullptr);
}

OffscreenCanvas::~OffscreenCanvas() {
    SelectObject(m_dc, m_oldBitmap);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

void OffscreenCanvas::Present() const {
    BitBlt(m_target, m_area.left, m_area.top, m_area.right - m_area.left,
           m_area.bottom - m_area.top, m_dc, m_area.left, m_area.top, SRCCOPY);
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        Reset(other.m_handle);
        other.m_handle = nullptr;
    }
    return *this;
}

Bitmap Bitmap::FromResource(int id) {
    return Bitmap(static_cast<HBITMAP>(LoadImageW(ResourceInstance(), MAKEINTRESOURCEW(id),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

Bitmap Bitmap::FromFile(const wchar_t* path) {
    return Bitmap(static_cast<HBITMAP>(
        LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

SIZE Bitmap::Size() const {
    BITMAP info{};
    if (m_handle == nullptr || GetObjectW(m_handle, sizeof info, &info) == 0) {
        return {0, 0};
    }
    return {info.bmWidth, info.bmHeight};
}

void Bitmap::Reset(HBITMAP handle) {
    if (m_handle != nullptr) {
        DeleteObject(m_handle);
    }
    m_handle = handle;
}

void PaintCovering(HDC dc, HBITMAP bitmap, const RECT& area) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) {
        return;
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (info.bmWidth < width || info.bmHeight < height) {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, area.left, area.top, width, height, source, 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
    } else {
        BitBlt(dc, area.left, area.top, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    }
    SelectObject(source, old);
    DeleteDC(source);
}

}  // namespace quorlet::ui
