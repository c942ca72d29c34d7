#pragma once
// The application's style, with one change: the menu bar's extension arrows
// (shown only when a window is too narrow for its menus) are icons that load
// their pictures when first drawn. Loading them at once, as the menu bar's
// constructor asks for them, starts the icon loader and the image-format
// plugins before the first frame, for a button that rarely ever shows.
#include <QProxyStyle>

namespace varnet::ui {

class DeferredIconStyle final : public QProxyStyle {
public:
    // Wraps the style the application would otherwise use.
    DeferredIconStyle();

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;

    // Makes an instance of this style the application's style (the
    // application takes it over).
    static void install();
};

}  // namespace varnet::ui
