// Small owners of GDI objects for the self-drawn controls: an off-screen canvas that is copied
// to the screen in one step, and a loaded bitmap.
#pragma once

#include <windows.h>

namespace quorlet::ui {

// A memory device context holding a bitmap compatible with the target; Present copies it.
class OffscreenCanvas {
public:
    OffscreenCanvas(HDC target, const RECT& area);
    ~OffscreenCanvas();
    OffscreenCanvas(const OffscreenCanvas&) = delete;
    OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;

    HDC dc() const { return m_dc; }
    void Present() const;

private:
    HDC m_target;
    RECT m_area;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_oldBitmap;
};

// Restores a device context's selected object when it goes out of scope.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(SelectObject(dc, object)) {}
    ~SelectObjectScope() { SelectObject(m_dc, m_old); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A bitmap resource or file; destroyed with the owner.
class Bitmap {
public:
    Bitmap() = default;
    explicit Bitmap(HBITMAP handle) : m_handle(handle) {}
    ~Bitmap() { Reset(); }
    Bitmap(Bitmap&& other) noexcept : m_handle(other.m_handle) { other.m_handle = nullptr; }
    Bitmap& operator=(Bitmap&& other) noexcept;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    static Bitmap FromResource(int id);
    static Bitmap FromFile(const wchar_t* path);

    HBITMAP get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    SIZE Size() const;
    void Reset(HBITMAP handle = nullptr);

private:
    HBITMAP m_handle = nullptr;
};

// Paints a bitmap at the top-left of area; stretched to the area when it is narrower or lower,
// copied 1:1 otherwise.
void PaintCovering(HDC dc, HBITMAP bitmap, const RECT& area);

}  // namespace quorlet::ui
