#include "awt/LayoutGaps.h"

#include <string>

#include "awt/TextMetrics.h"
#include "klib/Exception.h"
#include "klib/Strings.h"

namespace awt {

int checkGap(const wchar_t* name, int gap) {
    if (gap < 0) {
        throw klib::IllegalArgumentException(std::wstring(name) + L": " + klib::toString(gap));
    }
    return gap;
}

void LayoutGaps::useDefaultGaps() {
    getDefaultFontUnits(hgap, vgap);
}

void LayoutGaps::setHgap(int gap) {
    hgap = checkGap(L"hgap", gap);
}

void LayoutGaps::setVgap(int gap) {
    vgap = checkGap(L"vgap", gap);
}

}  // namespace awt
