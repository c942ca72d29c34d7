#include "DeferredIconStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>

namespace varnet::ui {
namespace {

// An icon that asks the wrapped style for the real one the first time
// anything looks at its pictures, and hands every request on to it.
class DeferredIconEngine final : public QIconEngine {
public:
    DeferredIconEngine(QStyle* style, QStyle::StandardPixmap which) : style_(style), which_(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        real().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return real().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return real().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return real().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return real().availableSizes(mode, state);
    }
    // A standard icon always has pictures; saying so does not load them.
    bool isNull() override { return loaded_ ? icon_.isNull() : false; }
    QIconEngine* clone() const override {
        auto* copy = new DeferredIconEngine(style_, which_);
        copy->icon_ = icon_;
        copy->loaded_ = loaded_;
        return copy;
    }

private:
    const QIcon& real() {
        if (!loaded_) {
            loaded_ = true;
            // The wrapped style may have gone with a change of application
            // style; the application's current style answers then.
            QStyle* style = style_ ? style_.data() : QApplication::style();
            icon_ = style->standardIcon(which_);
        }
        return icon_;
    }

    QPointer<QStyle> style_;
    QStyle::StandardPixmap which_;
    QIcon icon_;
    bool loaded_ = false;
};

}  // namespace

DeferredIconStyle::DeferredIconStyle() = default;

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                      const QWidget* widget) const {
    if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
        return QIcon(new DeferredIconEngine(baseStyle(), which));
    return QProxyStyle::standardIcon(which, option, widget);
}

void DeferredIconStyle::install() {
    QApplication::setStyle(new DeferredIconStyle);
}

}  // namespace varnet::ui
