#include <cstring>

#include "platform/win32/win32_platform.h"

#include <commctrl.h>  // after <windows.h>, which it needs

namespace lv {
namespace {

Rect FromRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// Loaded when first asked for: a start that only forwards its line never maps uxtheme.
void SetExplorerTheme(HWND control) {
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    const HMODULE uxtheme = ::LoadLibraryA("uxtheme.dll");
    if (!uxtheme) return;
    const auto setTheme = reinterpret_cast<SetWindowThemeFn>(
        reinterpret_cast<void*>(::GetProcAddress(uxtheme, "SetWindowTheme")));
    if (setTheme) (void)setTheme(control, L"Explorer", nullptr);
}

// A topmost multi-line tooltip owned by the dialog.
HWND MakeTooltip(HWND dialog, DWORD style, int maxWidth) {
    const HWND tip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | style,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                       ::GetModuleHandleA(nullptr), nullptr);
    if (tip) ::SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, maxWidth);
    return tip;
}

// One tool covering `control`, keyed by its handle; the tooltip watches its mouse messages.
void AddTool(HWND tip, HWND dialog, HWND control, char* text) {
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    ::SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

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
    // The trackbar repaints only the old and new thumb; the bar between is ours to redo.
    if (const HWND slider = Control(id)) ::InvalidateRect(slider, nullptr, TRUE);
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

int Win32PopupView::GetChoiceCurrent(int id) {
    if (!dialog_) return -1;
    const LRESULT index = ::SendDlgItemMessageA(dialog_, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

bool Win32PopupView::IsChecked(int id) { return dialog_ && ::IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

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

bool Win32PopupView::GetPopupGeometry(WindowGeometry& out) {
    WINDOWINFO info{};
    info.cbSize = sizeof(info);
    if (!dialog_ || !::GetWindowInfo(dialog_, &info)) return false;
    out = {FromRect(info.rcWindow), FromRect(info.rcClient)};
    return true;
}

bool Win32PopupView::GetControlGeometry(int id, WindowGeometry& out) {
    const HWND control = Control(id);
    WINDOWINFO info{};
    info.cbSize = sizeof(info);
    if (!control || !::GetWindowInfo(control, &info)) return false;
    // Screen to the popup's client coordinates, two points each.
    ::MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&info.rcWindow), 2);
    ::MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&info.rcClient), 2);
    out = {FromRect(info.rcWindow), FromRect(info.rcClient)};
    return true;
}

bool Win32PopupView::GetListRowRect(int row, Rect& out) {
    const HWND list = Control(res::kMonitorList);
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    if (!list || !::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)))
        return false;
    out = FromRect(rect);
    return true;
}

bool Win32PopupView::GetListHeaderHeight(int& out) {
    const HWND list = Control(res::kMonitorList);
    const HWND header = list ? reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0)) : nullptr;
    RECT rect{};
    if (!header || !::GetWindowRect(header, &rect)) return false;
    out = rect.bottom - rect.top;
    return true;
}

void Win32PopupView::MoveControl(int id, Rect rect) {
    if (const HWND control = Control(id))
        ::MoveWindow(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void Win32PopupView::SizePopup(int width, int height) {
    if (dialog_)
        ::SetWindowPos(dialog_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32PopupView::SetListColumnWidth(int column, int width) {
    if (const HWND list = Control(res::kMonitorList))
        ::SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
}

void Win32PopupView::SetSliderRange(int id, int minimum, int maximum) {
    if (!dialog_) return;
    ::SendDlgItemMessageA(dialog_, id, TBM_SETRANGEMIN, FALSE, minimum);
    ::SendDlgItemMessageA(dialog_, id, TBM_SETRANGEMAX, TRUE, maximum);
}

void Win32PopupView::SetUpList(const std::vector<std::string>& columns) {
    const HWND list = Control(res::kMonitorList);
    if (!list) return;
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP,
                   LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    SetExplorerTheme(list);
    for (std::size_t index = 0; index < columns.size(); ++index) {
        std::string text = columns[index];
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_CENTER;
        column.cx = 40;  // the layout gives the real widths
        column.pszText = text.data();
        column.iSubItem = static_cast<int>(index);
        ::SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
    }
}

void Win32PopupView::SetUpControlTips(const std::vector<int>& ids) {
    if (!dialog_ || controlTips_) return;
    controlTips_ = MakeTooltip(dialog_, 0, 400);  // line breaks of the texts count
    if (!controlTips_) return;
    for (int id : ids)
        if (const HWND control = Control(id)) AddTool(controlTips_, dialog_, control, LPSTR_TEXTCALLBACKA);
}

void Win32PopupView::SetUpInfoTip() {
    if (!dialog_ || infoTip_) return;
    const HWND list = Control(res::kMonitorList);
    if (!list) return;
    infoTip_ = MakeTooltip(dialog_, TTS_NOPREFIX, 600);  // the text's own line breaks count
    if (!infoTip_) return;
    ::SendMessageA(infoTip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
    char empty[] = "";
    AddTool(infoTip_, dialog_, list, empty);
}

void Win32PopupView::SetInfoTipTitle(std::string_view title) {
    if (!infoTip_) return;
    const std::string terminated(title.substr(0, 99));
    ::SendMessageA(infoTip_, TTM_SETTITLEA, TTI_NONE, reinterpret_cast<LPARAM>(terminated.c_str()));
}

bool Win32PopupView::CopyToClipboard(std::string_view text) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!block) return false;
    if (void* memory = ::GlobalLock(block)) {
        std::memcpy(memory, text.data(), text.size());
        static_cast<char*>(memory)[text.size()] = '\0';
        ::GlobalUnlock(block);
    } else {
        ::GlobalFree(block);
        return false;
    }
    bool taken = false;
    if (::OpenClipboard(dialog_)) {
        if (::EmptyClipboard()) taken = ::SetClipboardData(CF_TEXT, block) != nullptr;
        ::CloseClipboard();
    }
    // The clipboard owns the block only once SetClipboardData took it.
    if (!taken) ::GlobalFree(block);
    return taken;
}

}  // namespace lv
