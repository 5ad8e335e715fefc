#pragma once

namespace awt {

// Throws klib::IllegalArgumentException with name, ": " and the value for a negative gap; else gives
// the gap back.
int checkGap(const wchar_t* name, int gap);

// The horizontal and vertical gap of a layout that has both, never negative; none until set.
class LayoutGaps {
public:
    // Gaps of the default GUI font: its average character width and half its character height.
    void useDefaultGaps();
    // Throw klib::IllegalArgumentException "hgap: " / "vgap: " and the value for a negative gap.
    void setHgap(int gap);
    void setVgap(int gap);
    int getHgap() const noexcept { return hgap; }
    int getVgap() const noexcept { return vgap; }

protected:
    ~LayoutGaps() = default;

    int hgap = 0;  // between columns
    int vgap = 0;  // between rows
};

}  // namespace awt
