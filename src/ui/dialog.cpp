#include "ui/dialog.h"

#include <map>

#include "ui/data_exchange.h"
#include "ui/exception_boundary.h"

namespace quorlet::ui {
namespace {

// Posted to a dialog after its initialisation when a test script waits for it.
constexpr UINT kRunScript = WM_APP + 0x3f1;

std::map<int, DialogScript>& Scripts() {
    static std::map<int, DialogScript> scripts;
    return scripts;
}

CommandObserver& Observer() {
    static CommandObserver observer;
    return observer;
}

// The window property that marks a dialog window as one of the framework's own, holding its
// object. The user-data slot is not used for this: a #32770 window the framework did not create
// (a property sheet's frame, a message box, a common dialog) keeps its own data there.
constexpr wchar_t kDialogMark[] = L"Quorlet.Dialog";

// Nesting depth of modal loops on this (the interface) thread.
int g_modalDepth = 0;

// A WM_COMMAND that is a click: a button's BN_CLICKED, or a command from a menu (code 0) or an
// accelerator (code 1). Menus and accelerators name no control, which tells code 1 apart from a
// control's notification of the same number (a list box's or combo box's selection change).
bool IsClick(int code, LPARAM control) {
    return code == BN_CLICKED || (code == 1 && control == 0);
}

}  // namespace

void SetDialogScript(int templateId, DialogScript script) {
    Scripts()[templateId] = std::move(script);
}

void ClearDialogScripts() {
    Scripts().clear();
}

void SetCommandObserver(CommandObserver observer) {
    Observer() = std::move(observer);
}

CDialog::~CDialog() {
    if (m_hWnd != nullptr && IsWindow(m_hWnd)) {
        RemovePropW(m_hWnd, kDialogMark);
        DestroyWindow(m_hWnd);
    }
}

CDialog* CDialog::FromHandle(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    return static_cast<CDialog*>(GetPropW(window, kDialogMark));
}

bool CDialog::Create(HWND parent) {
    m_ended = false;
    HWND window = CreateDialogParamW(ResourceInstance(), MAKEINTRESOURCEW(m_templateId), parent,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

INT_PTR CDialog::DoModal(HWND parent) {
    m_result = -1;
    m_modalRunning = true;
    if (!Create(parent)) {
        m_modalRunning = false;
        return -1;
    }
    const bool parentWasEnabled = parent != nullptr && IsWindowEnabled(parent);
    if (parentWasEnabled) {
        EnableWindow(parent, FALSE);
    }
    if (!m_ended) {
        ::ShowWindow(m_hWnd, SW_SHOW);
    }
    ++g_modalDepth;
    MSG message;
    bool quit = false;
    while (!m_ended) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quit = got == 0;
            break;
        }
        DispatchThreadMessage(message);
    }
    --g_modalDepth;
    // An enclosing loop must see the quit as well; the outermost one just ends.
    if (quit && g_modalDepth > 0) {
        PostQuitMessage(static_cast<int>(message.wParam));
    }
    if (parentWasEnabled) {
        EnableWindow(parent, TRUE);
        SetActiveWindow(parent);
    }
    m_modalRunning = false;
    if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
    }
    return quit ? -1 : m_result;
}

void CDialog::EndDialog(INT_PTR result) {
    m_result = result;
    m_ended = true;
    if (m_modalRunning) {
        // The loop destroys the window once it sees the end; hide it at once meanwhile.
        ::ShowWindow(m_hWnd, SW_HIDE);
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    } else if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
    }
}

bool CDialog::UpdateData(bool save) {
    CDataExchange dx(m_hWnd, save);
    DoDataExchange(dx);
    return !dx.Failed();
}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::OnButtonClicked(int id) {
    if (id == IDOK || id == m_okButton) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL || id == m_cancelButton) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::OnCommand(int, int) {
    return false;
}

bool CDialog::OnNotify(int, NMHDR*, LRESULT&) {
    return false;
}

void CDialog::OnTimer(UINT_PTR) {}

bool CDialog::OnDrawItem(int, DRAWITEMSTRUCT* item) {
    // Self-drawn controls draw themselves.
    if (item != nullptr && item->CtlType != ODT_MENU && item->hwndItem != nullptr) {
        return ::SendMessageW(item->hwndItem, kReflectedDrawItem, 0,
                              reinterpret_cast<LPARAM>(item)) != 0;
    }
    return false;
}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

bool CDialog::PreTranslateMessage(MSG&) {
    return false;
}

void CDialog::DoDataExchange(CDataExchange&) {}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog =
        message == WM_INITDIALOG ? reinterpret_cast<CDialog*>(lParam) : FromHandle(window);
    return Route(dialog, window, message, wParam, lParam);
}

INT_PTR CDialog::Route(CDialog* dialog, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (dialog == nullptr) {
        return FALSE;
    }
    if (message == WM_INITDIALOG) {
        SetPropW(window, kDialogMark, dialog);
        dialog->m_hWnd = window;
    }
    // A handler that fails leaves the dialog as it is rather than taking the system down.
    return RunGuarded(L"a dialog handler", INT_PTR{FALSE},
                      [&] { return dialog->HandleMessage(message, wParam, lParam); });
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
        case WM_INITDIALOG: {
            const BOOL focus = OnInitDialog();
            if (Scripts().count(m_templateId) != 0) {
                ::PostMessageW(m_hWnd, kRunScript, 0, 0);
            }
            return focus;
        }
        case kRunScript: {
            const auto found = Scripts().find(m_templateId);
            if (found != Scripts().end() && !m_ended) {
                DialogScript script = found->second;  // the script may replace itself
                script(*this);
            }
            return TRUE;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (Observer()) {
                Observer()(m_hWnd, id);
            }
            const bool handled = IsClick(code, lParam) ? OnButtonClicked(id) : OnCommand(id, code);
            return handled ? TRUE : FALSE;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (OnNotify(static_cast<int>(header->idFrom), header, result)) {
                SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
                return TRUE;
            }
            return FALSE;
        }
        case WM_TIMER:
            OnTimer(wParam);
            return TRUE;
        case WM_DRAWITEM:
            return OnDrawItem(static_cast<int>(wParam), reinterpret_cast<DRAWITEMSTRUCT*>(lParam))
                       ? TRUE
                       : FALSE;
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        case WM_NCDESTROY:
            // No mark may stay on a window that goes.
            RemovePropW(m_hWnd, kDialogMark);
            m_hWnd = nullptr;
            return FALSE;
        default:
            break;
    }
    if (OnMessage(message, wParam, lParam, result)) {
        // Messages that return their result directly from a dialog procedure.
        switch (message) {
            case WM_CTLCOLORMSGBOX:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSCROLLBAR:
            case WM_CTLCOLORSTATIC:
            case WM_COMPAREITEM:
            case WM_VKEYTOITEM:
            case WM_CHARTOITEM:
            case WM_QUERYDRAGICON:
            case WM_INITDIALOG:
                return static_cast<INT_PTR>(result);
            default:
                SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
                return TRUE;
        }
    }
    return FALSE;
}

bool DispatchThreadMessage(MSG& message) {
    if (message.message == WM_QUIT) {
        return false;
    }
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (CDialog* dialog = CDialog::FromHandle(root)) {
        // A look that fails swallows nothing: the message goes on as if it had not been looked at.
        if (RunGuarded(L"a dialog's look at a message", false,
                       [&] { return dialog->PreTranslateMessage(message); })) {
            return true;
        }
        if (IsDialogMessageW(root, &message)) {
            return true;
        }
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

}  // namespace quorlet::ui
