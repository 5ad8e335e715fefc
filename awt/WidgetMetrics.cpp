#include "awt/WidgetMetrics.h"

#include "awt/AWTException.h"
#include "awt/Component.h"
#include "awt/GdiObject.h"
#include "awt/TextMetrics.h"

namespace awt {

bool measureControlText(const Component& component, const std::wstring& text, SIZE* extent, TEXTMETRICW* metrics) {
    if (component.getHandle() != nullptr) {
        component.measureText(text, extent, metrics);
        return true;
    }
    WindowDC dc(GetDC(nullptr), nullptr);
    if (dc.get() == nullptr) {
        throwLastError(L"::GetDC");
    }
    const HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    // Without the stock font the screen DC keeps the system font, as a control would.
    Selection selection(font != nullptr ? selectObject(dc.get(), font) : nullptr, dc.get());
    if (extent != nullptr) {
        getTextExtent(dc.get(), text.c_str(), static_cast<int>(text.size()), extent);
    }
    if (metrics != nullptr) {
        getTextMetrics(dc.get(), metrics);
    }
    selection.release();
    return false;
}

}  // namespace awt
