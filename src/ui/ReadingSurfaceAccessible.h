// How assistive technology sees a reading surface: read-only text whose
// name is the widget's accessible name and whose text is the panel's plain
// words, readable through the text interface as a screen reader reads it.
#pragma once

#include <QAccessibleWidget>

namespace varnet::ui {

class ReadingSurface;

class ReadingSurfaceAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ReadingSurfaceAccessible(ReadingSurface* surface);

    // Makes Qt build this interface for every reading surface (once).
    static void installFactory();

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text type) const override;

    // QAccessibleTextInterface: no selection, no cursor, nothing to edit.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    const QString& words() const;
};

}  // namespace varnet::ui
