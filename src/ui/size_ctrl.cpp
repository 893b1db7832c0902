#include "ui/size_ctrl.h"

#include <commctrl.h>

#include "ui/window.h"

namespace quorlet::ui {
namespace {

// The system's predefined size-grip bitmap.
constexpr int kSizeGripBitmap = 32766;  // OBM_SIZE

// The grip picture, made on the first paint of any grip and kept until the process ends: the
// bitmap as the system gives it, and an image list holding it with the button face transparent.
class GripPicture {
public:
    ~GripPicture() {
        if (m_list != nullptr) {
            ImageList_Destroy(m_list);
        }
        if (m_bitmap != nullptr) {
            DeleteObject(m_bitmap);
        }
    }

    // The image list, or nullptr when the system has no such bitmap.
    HIMAGELIST List() {
        if (!m_tried) {
            m_tried = true;
            Load();
        }
        return m_list;
    }

    SIZE Size() const { return m_size; }

private:
    void Load() {
        m_bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kSizeGripBitmap));
        BITMAP info{};
        if (m_bitmap == nullptr || GetObjectW(m_bitmap, sizeof info, &info) == 0) {
            return;
        }
        m_size = {info.bmWidth, info.bmHeight};
        m_list = ImageList_Create(info.bmWidth, info.bmHeight, ILC_MASK | ILC_COLOR4, 0, 1);
        // The image list takes a copy of the picture (and of the mask made from the button face),
        // so the bitmap stays ours.
        if (m_list != nullptr &&
            ImageList_AddMasked(m_list, m_bitmap, GetSysColor(COLOR_BTNFACE)) < 0) {
            ImageList_Destroy(m_list);
            m_list = nullptr;
        }
    }

    bool m_tried = false;
    HBITMAP m_bitmap = nullptr;
    HIMAGELIST m_list = nullptr;
    SIZE m_size{0, 0};
};

// Every grip paints on the interface thread, so the shared picture needs no lock.
GripPicture& SharedPicture() {
    static GripPicture picture;
    return picture;
}

}  // namespace

cdxCSizeCtrl::~cdxCSizeCtrl() {
    Destroy();
}

bool cdxCSizeCtrl::Create(HWND dialog, int id) {
    RECT client;
    GetClientRect(dialog, &client);
    // The size-box style with bottom-right alignment fits the grip into the corner of the
    // rectangle given, in the system's size-box dimensions.
    const HWND grip = CreateWindowExW(
        WS_EX_TRANSPARENT, L"SCROLLBAR", nullptr,
        WS_CHILD | WS_VISIBLE | SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN, client.left, client.top,
        client.right - client.left, client.bottom - client.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ResourceInstance(), nullptr);
    if (grip == nullptr) {
        return false;
    }
    if (!HookWindow(grip)) {
        DestroyWindow(grip);
        return false;
    }
    return true;
}

void cdxCSizeCtrl::Destroy() {
    if (m_hWnd != nullptr) {
        // Leaving the chain happens on the way out of the window (WM_NCDESTROY).
        DestroyWindow(m_hWnd);
    }
}

LRESULT cdxCSizeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        Paint();
        return 0;
    }
    return CSubclassWnd::WindowProc(message, wParam, lParam);
}

void cdxCSizeCtrl::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_hWnd, &paint);
    if (dc == nullptr) {
        return;
    }
    RECT client;
    GetClientRect(m_hWnd, &client);
    GripPicture& picture = SharedPicture();
    if (const HIMAGELIST list = picture.List()) {
        const SIZE size = picture.Size();
        ImageList_Draw(list, 0, dc, client.right - size.cx, client.bottom - size.cy,
                       ILD_TRANSPARENT);
    }
    EndPaint(m_hWnd, &paint);
}

}  // namespace quorlet::ui
