#pragma once

#include <windows.h>

#include <string>

#include "awt/Component.h"
#include "awt/Geometry.h"
#include "awt/Listeners.h"

namespace awt {

// A push button whose caption comes from the string table. A click is reported to its action
// listeners; its preferred size is measured once from the caption with the control's own font.
class Button : public Component {
public:
    explicit Button(int stringId);

    const wchar_t* getClassName() const override;
    // The caption; a missing string resource gives a button without caption.
    const wchar_t* getWindowText() const override;
    // A centred tab-stop push button.
    DWORD getStyle() const override;
    // BN_CLICKED fires actionPerformed on every action listener, the most recently added first.
    LRESULT handleCommand(WORD notifyCode, WPARAM wParam, bool* handled) override;
    // Throws "::SelectObject() failed", "::GetTextExtentPoint32() failed", "::GetTextMetrics() failed".
    Dimension getPreferredSize() override;
    void fontChanged() override;

    // Not owned; a listener is registered once.
    void addActionListener(ActionListener* listener);
    void removeActionListener(ActionListener* listener);

    const std::wstring& getText() const noexcept { return text; }

private:
    std::wstring text;  // fixed for the button's life, so the measured size never goes stale
    Dimension preferredSize;  // width -1: not measured yet
};

}  // namespace awt
