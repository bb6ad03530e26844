#include "look.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

namespace platform {

QFont dialogFont(int style, int pixelSize) {
    QFont font;
    font.setFamilies(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(style & Bold);
    font.setItalic(style & Italic);
    return font;
}

void setBackground(QWidget *widget, const QColor &color) {
    QPalette palette = widget->palette();
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(role, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

namespace {

// Fusion, with push buttons drawn in their palette's button colour, flat,
// rather than shaded with a gradient.
class FlatStyle : public QProxyStyle {
public:
    FlatStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override {
        if (element != PE_PanelButtonCommand) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QColor face = option->palette.color(QPalette::Button);
        const bool down = option->state & (State_Sunken | State_On);
        const QRect r = option->rect.adjusted(0, 0, -1, -1);
        painter->save();
        painter->fillRect(option->rect, down ? face.darker(112) : face);
        const bool focus = option->state & State_HasFocus;
        painter->setPen(focus ? option->palette.color(QPalette::Highlight) : face.darker(160));
        painter->drawRect(r);
        painter->restore();
    }
};

} // namespace

void installStyle() {
    auto *style = new FlatStyle;
    QApplication::setStyle(style);
    QApplication::setPalette(style->standardPalette());
    // Widgets start out in the dialog face, so that no other face is loaded.
    QApplication::setFont(dialogFont(Plain, 11));
}

} // namespace platform
