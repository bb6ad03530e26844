#include "look.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

namespace platform::qt {

QFont font(const Font &font) {
    QFont f;
    if (font.family == "Dialog")
        f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                       QStringLiteral("sans-serif")});
    else
        f.setFamily(QString::fromStdString(font.family));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(font.size);
    f.setBold(font.style & Font::Bold);
    f.setItalic(font.style & Font::Italic);
    return f;
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
    QApplication::setFont(font({"Dialog", Font::Plain, 11}));
}

} // namespace platform::qt
