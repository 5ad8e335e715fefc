#include "app/Configure.h"

#include "app/Orlivex.h"
#include "app/SettingsStore.h"
#include "awt/Button.h"
#include "awt/ColorDialog.h"
#include "awt/Dpi.h"
#include "awt/Label.h"
#include "awt/NumberField.h"
#include "awt/Panel.h"
#include "awt/TextMetrics.h"
#include "awt/Window.h"
#include "resources/resource.h"
#include "screensaver/PreviewWindow.h"

namespace {

constexpr int PREVIEW_WIDTH = 128;
constexpr int PREVIEW_HEIGHT = 96;

}  // namespace

Configure::Configure(HWND owner)
    : screensaver::ConfigDialog(owner),
      renderer(std::make_unique<Orlivex>()),
      intervalField(nullptr),
      sizeField(nullptr),
      preview(nullptr),
      marginWidth(0),
      marginHeight(0),
      buttonLayout(awt::FlowLayout::LEFT),
      actionAdapters(this),
      adjustmentAdapters(this),
      keyAdapters(this) {
    buildContents();
}

Configure::~Configure() noexcept(false) {
    // No message is dispatched before the dialog's windows go, so no tick reaches the renderer now.
    renderer.reset();
    keyAdapters.clear();
    adjustmentAdapters.clear();
    actionAdapters.clear();
}

awt::Insets Configure::getInsets() const {
    awt::Insets insets = screensaver::ConfigDialog::getInsets();
    insets.top += marginHeight;
    insets.bottom += marginHeight;
    insets.left += marginWidth;
    insets.right += marginWidth;
    return insets;
}

void Configure::buildContents() {
    setIcon(IDI_ORLIVEX);
    setTitle(IDS_DESCRIPTION);

    intervalField = createNumberField(INTERVAL_RANGE, renderer->getInterval(), &Configure::intervalChanged);
    sizeField = createNumberField(SIZE_RANGE, renderer->getCellSize(), &Configure::sizeChanged);
    awt::Button* const colorButton = createButton(IDS_CHOOSE, &Configure::chooseColor);

    const awt::LayoutManager::Constraints plain;
    auto* const settings = new awt::Panel();  // owned by the dialog once added below
    settingsLayout.setGrid(0, 2);
    settingsLayout.setGridVAlign(awt::GridFlowLayout::CENTER);
    settingsLayout.useDefaultGaps();
    settings->setLayout(&settingsLayout);
    settings->add(new awt::Label(IDS_INTERVAL, awt::Label::LEFT), &plain);
    settings->add(intervalField, &plain);
    settings->add(new awt::Label(IDS_SIZE, awt::Label::LEFT), &plain);
    settings->add(sizeField, &plain);
    settings->add(new awt::Label(IDS_COLOR, awt::Label::LEFT), &plain);
    settings->add(colorButton, &plain);

    preview = new screensaver::PreviewWindow(nullptr);
    // At the system DPI until the dialog knows its monitor: usually that is already the right one.
    const UINT systemDpi = awt::getWindowDpi(nullptr);
    preview->setSize(awt::scaleForDpi(PREVIEW_WIDTH, systemDpi), awt::scaleForDpi(PREVIEW_HEIGHT, systemDpi));
    preview->setRenderer(renderer.get());

    auto* const previewPanel = new awt::Panel();
    previewPanel->setLayout(&previewLayout);
    previewPanel->add(preview, &awt::BorderLayout::CENTER);
    previewPanel->add(new awt::Label(IDS_PREVIEW, awt::Label::CENTER), &awt::BorderLayout::SOUTH);

    auto* const buttons = new awt::Panel();
    buttonLayout.setAlignment(awt::FlowLayout::RIGHT);
    buttons->setLayout(&buttonLayout);
    buttons->add(createButton(IDS_OK, &Configure::ok), &plain);
    buttons->add(createButton(IDS_CANCEL, &Configure::cancel), &plain);

    setLayout(&mainLayout);
    mainLayout.useDefaultGaps();
    add(previewPanel, &awt::BorderLayout::WEST);
    add(settings, &awt::BorderLayout::CENTER);
    add(buttons, &awt::BorderLayout::SOUTH);

    awt::getDefaultFontUnits(marginWidth, marginHeight);

    addKeyAccelerator(awt::KeyStroke{VK_RETURN, 0, false}, keyAdapters.make(&Configure::ok));
    addKeyAccelerator(awt::KeyStroke{VK_ESCAPE, 0, false}, keyAdapters.make(&Configure::cancel));

    setResizable(false);
    pack();
    // The controls exist now, with the default font; they take the dialog's font at its DPI.
    dpiChanged(awt::getWindowDpi(handle));
    pack();
    center();
}

void Configure::dpiChanged(UINT dpi) {
    const HFONT font = awt::getDialogFont(dpi);
    awt::setTreeFont(this, font);
    awt::getFontUnits(font, marginWidth, marginHeight);
    mainLayout.setHgap(marginWidth);
    mainLayout.setVgap(marginHeight);
    settingsLayout.setHgap(marginWidth);
    settingsLayout.setVgap(marginHeight);
    buttonLayout.setHgap(marginWidth);
    const int previewWidth = awt::scaleForDpi(PREVIEW_WIDTH, dpi);
    const int previewHeight = awt::scaleForDpi(PREVIEW_HEIGHT, dpi);
    // Its preferred size is its present size, whatever an earlier layout made of it.
    preview->setSize(previewWidth, previewHeight);
    if (renderer->getWidth() != previewWidth || renderer->getHeight() != previewHeight) {
        // A board for the new size: the renderer reads the size when it starts.
        renderer->stop(preview);
        renderer->start(preview, preview->getHandle());
    }
    invalidate();
}

awt::NumberField* Configure::createNumberField(const SettingRange& range, int value, Method method) {
    auto* const field = new awt::NumberField(value);  // owned by the panel it is added to
    // The renderer's setters take exactly this range, so the field never hands them a refused value.
    field->setRange(range.minimum, range.maximum);
    field->addAdjustmentListener(adjustmentAdapters.make(method));
    return field;
}

awt::Button* Configure::createButton(int stringId, Method method) {
    auto* const button = new awt::Button(stringId);  // owned by the panel it is added to
    button->addActionListener(actionAdapters.make(method));
    return button;
}

void Configure::intervalChanged() {
    renderer->setInterval(intervalField->getValue());
}

void Configure::sizeChanged() {
    renderer->setCellSize(sizeField->getValue());
}

void Configure::chooseColor() {
    awt::ColorDialog chooser(this, static_cast<int>(renderer->getColor()));
    chooser.setVisible(true);
    if (chooser.getColor() != -1) renderer->setColor(static_cast<COLORREF>(chooser.getColor()));
}

void Configure::ok() {
    renderer->saveSettings();
    setVisible(false);
}

void Configure::cancel() {
    setVisible(false);
}
