// Small helpers that build the window's widgets as the window definition
// gives them: named, placed, coloured, in the window's faces.
#pragma once

#include "Colour.h"
#include "QtSurface.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>

namespace varnet::ui {

// The window definition's colours.
inline constexpr Colour kSilver = 0x00C0C0C0;
inline constexpr Colour kWhite = 0x00FFFFFF;
inline constexpr Colour kLightYellow = 0x0080FFFF;
inline constexpr Colour kYellow = 0x0000FFFF;
inline constexpr Colour kDemoRed = 0x000000E1;
inline constexpr Colour kRed = 0x000000FF;

inline QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

template <class W>
inline W* place(W* widget, const char* name, const QRect& bounds) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(bounds);
    return widget;
}

inline QFont faceAtPixels(const char* face, int pixels) {
    QFont font(QString::fromLatin1(face));
    font.setPixelSize(pixels);
    return font;
}

inline void setBackground(QWidget* widget, Colour colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QtSurface::resolve(colour));
    palette.setColor(QPalette::Base, QtSurface::resolve(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

inline void setTextColour(QWidget* widget, Colour colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QtSurface::resolve(colour));
    palette.setColor(QPalette::Text, QtSurface::resolve(colour));
    widget->setPalette(palette);
}

// A fixed-size label: the caption never resizes it.
inline QLabel* label(QWidget* parent, const char* name, const QRect& bounds, const QString& caption,
                     Qt::Alignment alignment = Qt::AlignLeft) {
    auto* l = place(new QLabel(caption, parent), name, bounds);
    l->setAlignment(alignment | Qt::AlignTop);
    return l;
}

inline QPushButton* button(QWidget* parent, const char* name, const QRect& bounds, const char* caption) {
    return place(new QPushButton(utf8(caption), parent), name, bounds);
}

// A multi-line text box whose lines are centred.
inline QTextEdit* memo(QWidget* parent, const char* name, const QRect& bounds) {
    auto* m = place(new QTextEdit(parent), name, bounds);
    m->setAcceptRichText(false);
    QTextOption option = m->document()->defaultTextOption();
    option.setAlignment(Qt::AlignHCenter);
    m->document()->setDefaultTextOption(option);
    return m;
}

// Every tab stays in view however narrow its page control gets: the tabs
// share the row and shorten their captions, and each shows its whole caption
// as its tool tip.
inline void keepTabsInView(QTabWidget* pages) {
    pages->setUsesScrollButtons(false);
    pages->setElideMode(Qt::ElideRight);
    for (int k = 0; k < pages->count(); ++k) pages->setTabToolTip(k, pages->tabText(k));
}

}  // namespace varnet::ui
