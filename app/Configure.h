#pragma once

#include <windows.h>

#include <memory>

#include "app/Orlivex.h"
#include "awt/BorderLayout.h"
#include "awt/FlowLayout.h"
#include "awt/GridFlowLayout.h"
#include "awt/ListenerAdapters.h"
#include "screensaver/ConfigDialog.h"

namespace awt {
class Button;
class NumberField;
}  // namespace awt

namespace screensaver {
class PreviewWindow;
}  // namespace screensaver

struct SettingRange;

// The dialog of configuration mode. It owns an Orlivex renderer that holds the values being edited and
// draws the preview; the number fields and the colour button write into it at once. OK (or Enter) calls
// saveSettings and hides the dialog; Cancel, Escape and the close box only hide it.
class Configure : public screensaver::ConfigDialog {
public:
    explicit Configure(HWND owner);
    // The renderer first, then the adapters, then the dialog with its widgets.
    ~Configure() noexcept(false) override;

    // The frame's insets plus one default gap on every side.
    awt::Insets getInsets() const override;

    // The renderer that holds the edited settings and drives the preview.
    Orlivex* getRenderer() const noexcept { return renderer.get(); }

private:
    using Method = void (Configure::*)();

    void buildContents();
    // Font, gaps and preview size at dpi, for a dialog whose native windows exist.
    void dpiChanged(UINT dpi) override;
    awt::NumberField* createNumberField(const SettingRange& range, int value, Method method);
    awt::Button* createButton(int stringId, Method method);

    void intervalChanged();
    void sizeChanged();
    void chooseColor();
    void ok();
    void cancel();

    std::unique_ptr<Orlivex> renderer;  // deleted first by the destructor
    awt::NumberField* intervalField;   // owned by the component tree
    awt::NumberField* sizeField;       // owned by the component tree
    screensaver::PreviewWindow* preview;  // owned by the component tree
    int marginWidth;
    int marginHeight;
    awt::BorderLayout mainLayout;
    awt::GridFlowLayout settingsLayout;
    awt::BorderLayout previewLayout;
    awt::FlowLayout buttonLayout;
    awt::AdapterList<Configure, awt::ActionListener_mem_fun_t> actionAdapters;
    awt::AdapterList<Configure, awt::AdjustmentListener_mem_fun_t> adjustmentAdapters;
    awt::AdapterList<Configure, awt::KeyListener_mem_fun_t> keyAdapters;
};
