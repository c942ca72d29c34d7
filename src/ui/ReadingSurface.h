// An image widget: shows the top-left part of its drawing surface's picture
// at the widget's current size, and paints nothing else.
#pragma once

#include "QtSurface.h"

#include <QWidget>

namespace varnet::ui {

class ReadingSurface : public QWidget {
    Q_OBJECT
public:
    explicit ReadingSurface(QWidget* parent = nullptr);

    QtSurface& surface() { return surface_; }
    const QtSurface& surface() const { return surface_; }

    // The plain words on show, for assistive technology; a change is
    // announced to it.
    void setPanelText(const QString& text);
    const QString& panelText() const { return panelText_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QtSurface surface_;
    QString panelText_;
};

}  // namespace varnet::ui
