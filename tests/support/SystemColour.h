#pragma once

#include <windows.h>

namespace testing_support {

// Gives one system colour (COLOR_DESKTOP, ...) a value for the guard's lifetime, then restores it.
class SystemColour {
public:
    SystemColour(int index, COLORREF colour) noexcept : index(index), previous(GetSysColor(index)) {
        set = SetSysColors(1, &this->index, &colour) != FALSE;
    }
    SystemColour(const SystemColour&) = delete;
    SystemColour& operator=(const SystemColour&) = delete;
    ~SystemColour() {
        if (set) SetSysColors(1, &index, &previous);
    }
    bool isSet() const noexcept { return set; }

private:
    int index;
    COLORREF previous;
    bool set = false;
};

}  // namespace testing_support
