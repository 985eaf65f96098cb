#include "platform/win32/win32_platform.h"

#include <commctrl.h>  // after <windows.h>, which it needs

namespace lv {

HWND Win32PopupView::Control(int id) const { return dialog_ ? ::GetDlgItem(dialog_, id) : nullptr; }

void Win32PopupView::SetText(int id, std::string_view text) {
    if (!dialog_) return;
    const std::string terminated(text);
    ::SetDlgItemTextA(dialog_, id, terminated.c_str());
}

std::string Win32PopupView::GetText(int id) {
    if (!dialog_) return {};
    char buffer[260] = {};
    const UINT length = ::GetDlgItemTextA(dialog_, id, buffer, sizeof(buffer));
    return std::string(buffer, length);
}

void Win32PopupView::SetSliderPos(int id, int position) {
    if (!dialog_) return;
    ::SendDlgItemMessageA(dialog_, id, TBM_SETPOS, TRUE, position);
}

void Win32PopupView::Show(int id, bool visible) {
    if (const HWND control = Control(id)) ::ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void Win32PopupView::Enable(int id, bool enabled) {
    if (const HWND control = Control(id)) ::EnableWindow(control, enabled ? TRUE : FALSE);
}

void Win32PopupView::RedrawNow() {
    if (!dialog_) return;
    ::RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool Win32PopupView::IsVisible() { return dialog_ && ::IsWindowVisible(dialog_); }

void Win32PopupView::SetListCell(int row, int column, std::string_view text) {
    const HWND list = Control(res::kMonitorList);
    if (!list) return;
    std::string buffer(text);  // LVITEMA wants a writable pointer, even for setting
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// The list is not virtual, so LVM_SETITEMCOUNT would only reserve memory: rows are
// inserted or deleted at the end until the count matches.
void Win32PopupView::SetListRowCount(int rows) {
    const HWND list = Control(res::kMonitorList);
    if (!list) return;
    if (rows < 0) rows = 0;
    int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    char empty[] = "";
    while (count < rows) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = count;
        item.pszText = empty;
        if (::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) < 0) return;
        ++count;
    }
    while (count > rows) {
        if (!::SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(count - 1), 0)) return;
        --count;
    }
}

// One selection mark: cleared on every row (index -1), then set on the one row.
void Win32PopupView::SelectListRow(int row) {
    const HWND list = Control(res::kMonitorList);
    if (!list) return;
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (row < 0) return;
    item.state = LVIS_SELECTED;
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void Win32PopupView::SetChoiceItems(int id, const std::vector<std::string>& items) {
    if (!dialog_) return;
    ::SendDlgItemMessageA(dialog_, id, CB_RESETCONTENT, 0, 0);
    for (const std::string& text : items)
        ::SendDlgItemMessageA(dialog_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32PopupView::SetChoiceCurrent(int id, int index) {
    if (!dialog_) return;
    ::SendDlgItemMessageA(dialog_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// Yes and No, No as default, owned by the popup; true for Yes.
bool Win32PopupView::Ask(std::string_view caption, std::string_view text, UINT icon) {
    if (!dialog_) return false;
    const std::string terminatedCaption(caption);
    const std::string terminatedText(text);
    return ::MessageBoxA(dialog_, terminatedText.c_str(), terminatedCaption.c_str(),
                         MB_YESNO | icon | MB_DEFBUTTON2) == IDYES;
}

bool Win32PopupView::AskYesNo(std::string_view caption, std::string_view text) {
    return Ask(caption, text, MB_ICONWARNING);
}

bool Win32PopupView::AskQuestion(std::string_view caption, std::string_view text) {
    return Ask(caption, text, MB_ICONQUESTION);
}

void Win32PopupView::ShowError(std::string_view text) {
    const std::string terminated(text);
    ::MessageBoxA(dialog_, terminated.c_str(), terminated.c_str(), MB_OK | MB_ICONERROR);
}

void Win32PopupView::HidePopup() {
    if (dialog_) ::ShowWindow(dialog_, SW_HIDE);
}

void Win32PopupView::UpdateInfoTip(std::string_view text) {
    if (!infoTip_ || !dialog_) return;
    std::string buffer(text.substr(0, 2047));
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = dialog_;
    tool.uId = reinterpret_cast<UINT_PTR>(Control(res::kMonitorList));
    tool.uFlags = TTF_IDISHWND;
    tool.lpszText = buffer.data();
    ::SendMessageA(infoTip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

bool Win32PopupView::IsListAt(Point screenPoint) {
    const HWND list = Control(res::kMonitorList);
    return list && ::WindowFromPoint(POINT{screenPoint.x, screenPoint.y}) == list;
}

}  // namespace lv
