// cdxCSizingDialog: a dialog the user may resize. Each registered control moves and stretches
// by fixed percentages of the dialog's growth; the dialog never gets smaller than it opened, and
// a size grip sits in its bottom-right corner. Every opening starts from the resource's layout.
// The arithmetic is base/size_layout's; this class only reads and moves windows.
#pragma once

#include <windows.h>

#include <vector>

#include "base/size_layout.h"
#include "ui/dialog.h"
#include "ui/size_ctrl.h"

namespace quorlet::ui {

class cdxCSizingDialog : public CDialog {
public:
    using CDialog::CDialog;

    // The child-window identifier of the size grip.
    static constexpr int kGripId = 77772;

protected:
    // Run from OnInitDialog: the base initialisation, then the layout of this opening.
    // flags: bit 0 the width may change, bit 1 the height. growPercent enlarges the window
    // about its centre (0: as the resource says).
    BOOL InitSizing(int growPercent, unsigned flags, bool grip);
    // Registers a control after InitSizing, before the window is resized.
    void AddControl(HWND control, EdgePercents percents);
    void AddControl(int id, EdgePercents percents) { AddControl(GetDlgItem(id), percents); }
    void AddControlByMode(int id, SizeMode horizontal, SizeMode vertical) {
        AddControl(id, PercentsByMode(horizontal, vertical));
    }
    // False, with nothing changed, when a maximum is below its minimum or zero. With apply the
    // window is brought into the limits at once.
    bool SetMinMaxSize(Extent minimum, Extent maximum, bool apply);
    // The window's size when the layout began, and the whole screen: the limits both resizable
    // windows of the program use.
    Extent InitialWindowSize() const { return m_minimum; }
    static Extent FullScreenSize();

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDestroy() override;

private:
    struct Entry {
        HWND control;
        EdgePercents percents;
        Box initial;  // in the dialog's client coordinates
    };

    void Reposition();
    bool FitWindowSize();
    bool StretchWindow(Extent change);
    void Teardown();

    bool m_bAttached = false;
    std::vector<Entry> m_entries;
    Extent m_initialClient;
    Extent m_minimum;
    Extent m_maximum{2147483647, 2147483647};
    unsigned m_flags = 3;
    cdxCSizeCtrl m_grip;
};

}  // namespace quorlet::ui
