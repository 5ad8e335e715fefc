#pragma once

#include <windows.h>

#include <string>

#include "awt/Component.h"
#include "awt/Geometry.h"

namespace awt {

// A static text of one or more lines (separated by line feeds). Its preferred size is the text measured
// with the font of its own control, in device pixels, without margins.
class Label : public Component {
public:
    // The alignment styles of the static control; a type of its own, since the layouts number their
    // alignments differently.
    enum class Alignment { LEFT = SS_LEFT, CENTER = SS_CENTER, RIGHT = SS_RIGHT };
    static constexpr Alignment LEFT = Alignment::LEFT;
    static constexpr Alignment CENTER = Alignment::CENTER;
    static constexpr Alignment RIGHT = Alignment::RIGHT;

    // The text is the string resource stringId, empty when the table has none. A value outside the
    // enumeration throws klib::IllegalArgumentException "alignment: " and the value.
    Label(int stringId, Alignment alignment);
    // For a text that does not come from the string table.
    Label(std::wstring text, Alignment alignment);
    ~Label() noexcept(false) override;

    const wchar_t* getClassName() const override;
    const wchar_t* getWindowText() const override;
    // Shows ampersands as they are and reports clicks to the parent.
    DWORD getStyle() const override;
    // Measured once with the control's font and kept. Throws "::SelectObject() failed".
    Dimension getPreferredSize() override;
    void fontChanged() override;
    // Changes the alignment bits of an existing control in place, without re-creating it. Validates as
    // the constructor does.
    virtual void setAlignment(Alignment alignment);

    const std::wstring& getText() const noexcept { return text; }
    Alignment getAlignment() const noexcept { return alignment; }

private:
    Dimension measure() const;

    std::wstring text;
    Alignment alignment;
    Dimension preferredSize;  // width -1: not measured yet
};

}  // namespace awt
