// Field exchange between a dialog's controls and its members, in one DoDataExchange per dialog:
// with save false the members are shown in the controls, with save true the controls are read.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace quorlet::ui {

class CByteLimitedEdit;
class CSubclassWnd;

class CDataExchange {
public:
    CDataExchange(HWND dialog, bool save) : m_dialog(dialog), m_save(save) {}

    HWND Dialog() const { return m_dialog; }
    bool Saving() const { return m_save; }
    bool Failed() const { return m_failed; }
    // A check failed: the exchange stops counting as successful and the control gets the focus.
    void Fail(int id);

private:
    HWND m_dialog;
    bool m_save;
    bool m_failed = false;
};

void DDX_Text(CDataExchange& dx, int id, std::string& value);
// Text that is a number; reading takes the leading digits as atoi does.
void DDX_Text(CDataExchange& dx, int id, int& value);
void DDX_Check(CDataExchange& dx, int id, bool& value);
void DDX_Check(CDataExchange& dx, int id, int& value);
// The index of the selected button of a radio group starting at firstId (-1 for none).
void DDX_Radio(CDataExchange& dx, int firstId, int& value);
// Limits an edit field's length when the controls are filled.
void DDV_MaxChars(CDataExchange& dx, int id, int maxChars);
// Holds an edit field to maxBytes GBK bytes through `edit`, attached when the controls are filled
// (before the field's DDX_Text, so that a longer value comes in cut).
void DDV_MaxBytes(CDataExchange& dx, int id, CByteLimitedEdit& edit, std::size_t maxBytes);
// Attaches a self-drawn control class to the dialog item (once).
void DDX_Control(CDataExchange& dx, int id, CSubclassWnd& control);

}  // namespace quorlet::ui
