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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QtSurface surface_;
};

}  // namespace varnet::ui
