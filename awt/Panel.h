#pragma once

#include <windows.h>

#include "awt/Container.h"

namespace awt {

// A plain container: a static control that clips its children, is a control parent and reports clicks.
class Panel : public Container {
public:
    const wchar_t* getClassName() const override;
    DWORD getStyle() const override;
};

}  // namespace awt
