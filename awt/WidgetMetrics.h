#pragma once

#include <windows.h>

#include <string>

namespace awt {

class Component;

// Measures text with the font of the component's control: its extent if extent is non-null, the font's
// metrics if metrics is non-null. Before the control exists, measures on the screen with the default GUI
// font that every control is given when it is created. Returns whether the control existed, that is,
// whether the result may be kept. Throws "::GetDC() failed", "::SelectObject() failed",
// "::GetTextExtentPoint32() failed", "::GetTextMetrics() failed".
bool measureControlText(const Component& component, const std::wstring& text, SIZE* extent, TEXTMETRICW* metrics);

}  // namespace awt
