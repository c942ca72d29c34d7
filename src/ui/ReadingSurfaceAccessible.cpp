#include "ReadingSurfaceAccessible.h"

#include "ReadingSurface.h"

#include <algorithm>

namespace varnet::ui {

namespace {

QAccessibleInterface* makeInterface(const QString&, QObject* object) {
    if (auto* surface = qobject_cast<ReadingSurface*>(object)) return new ReadingSurfaceAccessible(surface);
    return nullptr;
}

}  // namespace

ReadingSurfaceAccessible::ReadingSurfaceAccessible(ReadingSurface* surface)
    : QAccessibleWidget(surface, QAccessible::StaticText) {
    addControllingSignal(QStringLiteral("destroyed()"));
}

void ReadingSurfaceAccessible::installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    (void)installed;
}

const QString& ReadingSurfaceAccessible::words() const {
    return static_cast<const ReadingSurface*>(widget())->panelText();
}

void* ReadingSurfaceAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString ReadingSurfaceAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value) return words();
    return QAccessibleWidget::text(type);
}

void ReadingSurfaceAccessible::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

QString ReadingSurfaceAccessible::text(int startOffset, int endOffset) const {
    const QString& all = words();
    const int start = std::clamp(startOffset, 0, static_cast<int>(all.size()));
    const int end = endOffset < 0 ? static_cast<int>(all.size())
                                  : std::clamp(endOffset, start, static_cast<int>(all.size()));
    return all.mid(start, end - start);
}

int ReadingSurfaceAccessible::characterCount() const {
    return static_cast<int>(words().size());
}

// The words are drawn in cascading layout, not as a text run; no offset has
// a place of its own on screen.
QRect ReadingSurfaceAccessible::characterRect(int) const {
    return QRect();
}

int ReadingSurfaceAccessible::offsetAtPoint(const QPoint&) const {
    return -1;
}

QString ReadingSurfaceAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    (void)offset;
    *endOffset = characterCount();
    return QString();
}

}  // namespace varnet::ui
