// The popup's controls as the core sees them, keyed by control id. The core keeps the
// state (list model, choice models); a view only mirrors it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace lv {

// A window's outer and client rectangles, as the system measures them.
struct WindowGeometry {
    Rect window;
    Rect client;
    bool operator==(const WindowGeometry&) const = default;
};

class PopupView {
public:
    virtual ~PopupView() = default;
    virtual void SetText(int id, std::string_view text) = 0;
    // A control's text (at most 259 characters); empty when there is none.
    virtual std::string GetText(int id) = 0;
    virtual void SetSliderPos(int id, int position) = 0;  // with redraw
    virtual void Show(int id, bool visible) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    virtual void RedrawNow() = 0;  // invalidate and update the popup window at once
    virtual bool IsVisible() = 0;  // the popup window is shown
    // Monitor list 1001: cell texts and the single selection mark.
    virtual void SetListCell(int row, int column, std::string_view text) = 0;
    virtual void SetListRowCount(int rows) = 0;
    virtual void SelectListRow(int row) = 0;
    // Drop-down lists 1113 and 1115: their items and the current item (-1: none).
    virtual void SetChoiceItems(int id, const std::vector<std::string>& items) = 0;
    virtual void SetChoiceCurrent(int id, int index) = 0;
    // The item the user picked (-1: none).
    virtual int GetChoiceCurrent(int id) = 0;
    // A check box is checked.
    virtual bool IsChecked(int id) = 0;
    // A Yes/No question with a warning icon and No as default; true for Yes.
    virtual bool AskYesNo(std::string_view caption, std::string_view text) = 0;
    // The same with a question icon.
    virtual bool AskQuestion(std::string_view caption, std::string_view text) = 0;
    // A message box with an error icon whose text is also its caption.
    virtual void ShowError(std::string_view text) = 0;
    // ShowWindow(SW_HIDE) of the popup window.
    virtual void HidePopup() = 0;
    // The hover tooltip of the monitor list shows `text` (empty: nothing).
    virtual void UpdateInfoTip(std::string_view text) = 0;
    // The hover tooltip's title (no icon).
    virtual void SetInfoTipTitle(std::string_view title) = 0;
    // Creates the hover tooltip with one tool over the monitor list.
    virtual void SetUpInfoTip() = 0;
    // Puts `text` on the clipboard as CF_TEXT, owned by the popup; false when the clipboard
    // could not be opened, emptied or set (nothing is copied then).
    virtual bool CopyToClipboard(std::string_view text) = 0;
    // The window under the screen point is the monitor list.
    virtual bool IsListAt(Point screenPoint) = 0;

    // Layout. The popup is measured on the screen; its controls in its client area.
    virtual bool GetPopupGeometry(WindowGeometry& out) = 0;
    virtual bool GetControlGeometry(int id, WindowGeometry& out) = 0;
    // The bounding rectangle of a row of list 1001 (false: no such row).
    virtual bool GetListRowRect(int row, Rect& out) = 0;
    virtual bool GetListHeaderHeight(int& out) = 0;
    // Moves a control to a rectangle of the client area, repainted.
    virtual void MoveControl(int id, Rect rect) = 0;
    // The popup's outer size; its position stays.
    virtual void SizePopup(int width, int height) = 0;
    virtual void SetListColumnWidth(int column, int width) = 0;

    // Set-up: a slider's range, and the list's columns (centred), full-row selection,
    // label tips and theme.
    virtual void SetSliderRange(int id, int minimum, int maximum) = 0;
    virtual void SetUpList(const std::vector<std::string>& columns) = 0;
    // One multi-line tooltip with a tool per control, whose text is asked for when shown.
    virtual void SetUpControlTips(const std::vector<int>& ids) = 0;
};

}  // namespace lv
