// The account list of the main window: a report-view list that draws its own rows over a tiled
// background picture, and in which a click on a row ticks or unticks the account instead of
// selecting it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "ui/controls.h"
#include "ui/gdi.h"
#include "ui/subclass_wnd.h"

namespace quorlet {

// The state image of a row (bitmap 154) says whether its account takes part in checks. The small
// image (bitmap 210) shows what the check does with it: the check cycle's RowImage.
inline constexpr int kStateLeftOut = 1;
inline constexpr int kStateIncluded = 2;
constexpr int StateImageOf(bool enabled) {
    return enabled ? kStateIncluded : kStateLeftOut;
}

class CAccountListCtrl : public ui::CSubclassWnd {
public:
    ~CAccountListCtrl() override;

    ui::CListCtrl List() const { return ui::CListCtrl(m_hWnd); }

    // Takes over the two image lists (state images, small images): this object alone destroys
    // them, whether its window is still there or not.
    void SetImageLists(HIMAGELIST stateImages, HIMAGELIST smallImages);
    void SetBackground(ui::Bitmap background);
    // Releases the state image list (at exit); the list draws no check boxes afterwards.
    void ReleaseStateImages();

    // Called with the row a left click hit.
    std::function<void(int row)> onRowClicked;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);
    void TileBackground(HDC dc, const RECT& area);
    int RowAt(POINT point) const;

    HIMAGELIST m_stateImages = nullptr;
    HIMAGELIST m_smallImages = nullptr;
    ui::Bitmap m_background;
};

}  // namespace quorlet
