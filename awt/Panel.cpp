#include "awt/Panel.h"

namespace awt {

const wchar_t* Panel::getClassName() const {
    return L"STATIC";
}

DWORD Panel::getStyle() const {
    return Container::getStyle() | SS_NOTIFY;
}

}  // namespace awt
