#include "ReadingSurface.h"

#include "ReadingSurfaceAccessible.h"

#include <QAccessible>
#include <QPaintEvent>
#include <QPainter>

namespace varnet::ui {

ReadingSurface::ReadingSurface(QWidget* parent) : QWidget(parent), surface_(*this) {
    // The picture covers the widget; nothing behind it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    ReadingSurfaceAccessible::installFactory();
}

void ReadingSurface::setPanelText(const QString& text) {
    if (text == panelText_) return;
    const QString old = panelText_;
    panelText_ = text;
    if (!QAccessible::isActive()) return;
    QAccessibleTextUpdateEvent changed(this, 0, old, panelText_);
    QAccessible::updateAccessibility(&changed);
}

void ReadingSurface::paintEvent(QPaintEvent* event) {
    // The picture grows to the widget before it is shown.
    surface_.coverWidget();
    const QImage& picture = surface_.image();
    if (picture.isNull()) return;
    const qreal dpr = picture.devicePixelRatio();
    const QRect pictureRect(QPoint(0, 0), (QSizeF(picture.size()) / dpr).toSize());
    const QRect area = event->rect().intersected(pictureRect);
    if (area.isEmpty()) return;
    QPainter painter(this);
    painter.drawImage(QRectF(area), picture,
                      QRectF(area.x() * dpr, area.y() * dpr, area.width() * dpr, area.height() * dpr));
}

}  // namespace varnet::ui
