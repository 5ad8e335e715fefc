#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "awt/Component.h"
#include "awt/Geometry.h"
#include "awt/Listeners.h"

namespace awt {

// A drop-down list of texts (a COMBOBOX with CBS_DROPDOWNLIST), one of them selected. The items and the
// selection are kept on the object side as well, so they survive the control. A selection the user makes
// goes to the item listeners; one made by select() does not.
//
// The field is as high as the control makes it for its font; the list it drops shows up to VISIBLE_ROWS
// items, whatever height the layout gives the field. While the list is open the control claims Enter
// and Escape (WM_GETDLGCODE), so they close the list rather than the window.
//
// Typical use:
//   auto* choice = new awt::Choice();   // owned by the panel it is added to
//   choice->add(L"The screen");
//   choice->add(L"The wallpaper");
//   choice->select(settings.picture);
//   choice->addItemListener(listener);  // listener reads choice->getSelectedIndex()
class Choice : public Component {
public:
    static constexpr int VISIBLE_ROWS = 8;

    Choice();

    const wchar_t* getClassName() const override;
    // A tab-stop drop-down list with a vertical scroll bar for long lists.
    DWORD getStyle() const override;
    // Fills the new control with the items and the selection, and sizes its dropped list.
    void initWindow() override;
    // Keeps the user's selection before the control goes.
    void removeNotify() override;
    // A new selection (CBN_SELCHANGE), or one put back when the list closed, fires itemStateChanged.
    LRESULT handleCommand(WORD notifyCode, WPARAM wParam, bool* handled) override;
    // The widest item next to the drop-down button; the height the control has for its font (measured
    // from the font before the control exists). Throws as the text-measuring helpers.
    Dimension getPreferredSize() override;
    void fontChanged() override;
    // Once the control exists the height stays its own; the width is taken as given.
    void setSize(int width, int height) override;
    void setBounds(int x, int y, int width, int height) override;

    // Appends an item; the first one added becomes the selection. Throws
    // "::SendMessage(CB_ADDSTRING) failed" (the item is then not added).
    void add(const std::wstring& item);
    int getItemCount() const noexcept { return static_cast<int>(items.size()); }
    // Throws klib::IndexOutOfBoundsException outside 0..getItemCount()-1.
    const std::wstring& getItem(int index) const;
    // -1 while there are no items.
    int getSelectedIndex() const noexcept { return selected; }
    // Throws klib::IndexOutOfBoundsException outside 0..getItemCount()-1; no item event.
    void select(int index);
    // The list is open.
    bool isDropped() const;

    // Not owned; a listener is registered once.
    void addItemListener(ItemListener* listener);
    void removeItemListener(ItemListener* listener);

private:
    // The height the control is given for its field plus its dropped list, which it keeps for the list.
    void sizeDroppedList();
    // Reads the control's selection and tells the item listeners if it moved.
    void selectionChanged();

    std::vector<std::wstring> items;
    int selected;  // -1: no items
    Dimension preferredSize;  // width -1: not measured yet
};

}  // namespace awt
