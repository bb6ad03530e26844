// The Qt widget behind each control. The peer's own files and the tests reach
// the widgets through here; nothing else in the program does.
#pragma once

#include "platform/controls.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <string_view>

namespace platform {

struct Native {
    explicit Native(QWidget *widget) : widget(widget) {}
    // A child's widget may already have gone with its parent's.
    ~Native() { delete widget.data(); }

    QPointer<QWidget> widget;
};

namespace qt {

inline std::unique_ptr<Native> wrap(QWidget *widget) {
    return std::make_unique<Native>(widget);
}

inline QString qstring(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

template <typename W = QWidget> W *widget(const Component &component) {
    return static_cast<W *>(component.native().widget.data());
}

// What the peer keeps beside a widget: its first child of that class, made
// where there is none if asked to.
template <typename T> T *childOf(QWidget *parent, bool make = false) {
    for (QObject *child : parent->children())
        if (auto *found = dynamic_cast<T *>(child))
            return found;
    return make ? new T(parent) : nullptr;
}

} // namespace qt
} // namespace platform
