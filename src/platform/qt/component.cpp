#include "frame_widget.h"
#include "look.h"
#include "menu.h"
#include "native.h"
#include "platform/picture.h"
#include "tip.h"

#include <QTextDocument>

namespace platform {

using qt::widget;

Component::Component(std::unique_ptr<Native> native) : native_(std::move(native)) {}

Component::~Component() = default;

void Component::setBackground(Color color) {
    qt::setBackground(widget(*this), QColor(color.red, color.green, color.blue));
}

void Component::setFont(const Font &font) {
    widget(*this)->setFont(qt::font(font));
}

void Component::setBounds(int x, int y, int width, int height) {
    QWidget *w = widget(*this);
    // Children of a frame are placed in its outer coordinates.
    if (auto *frame = dynamic_cast<qt::FrameWidget *>(w->parentWidget()))
        frame->setBounds(w, QRect(x, y, width, height));
    else
        w->setGeometry(x, y, width, height);
}

void Component::requestFocus() {
    widget(*this)->setFocus();
}

void Component::setAccessibleName(std::string_view name) {
    widget(*this)->setAccessibleName(qt::qstring(name));
}

void Component::setAccessibleDescription(std::string_view description) {
    widget(*this)->setAccessibleDescription(qt::qstring(description));
}

void Component::setToolTip(std::string_view text, const Picture *picture) {
    QString tip = qt::qstring(text);
    // Shown by the program's own tooltip, which draws the lines as plain text.
    qt::setTip(widget(*this), tip, picture);
    // Qt's tooltip text stays what it was: screen readers describe a widget
    // without a description of its own by it. Plain text, line by line, even
    // where it looks like markup to Qt.
    if (Qt::mightBeRichText(tip))
        tip = Qt::convertFromPlainText(tip, Qt::WhiteSpacePre);
    widget(*this)->setToolTip(tip);
}

void Component::setCopyText(std::string_view text) {
    qt::setCopyText(widget(*this), qt::qstring(text));
}

void Component::setImage(Image image) {
    qt::setImage(widget(*this), std::move(image));
}

void Component::setLevelsAction(std::function<void()> action) {
    qt::setLevelsAction(widget(*this), std::move(action));
}

void Container::add(Component &child) {
    widget(child)->setParent(widget(*this));
}

} // namespace platform
