#include "native.h"

#include <QWidget>

namespace platform {

TableWindow::TableWindow(Frame &) : Component(qt::wrap(new QWidget)) {}
TableWindow::~TableWindow() = default;
void TableWindow::setTitle(std::string_view) {}
void TableWindow::setContent(std::string_view, const Table &, std::string_view) {}
void TableWindow::show() {}
void TableWindow::hide() {}
bool TableWindow::showing() const {
    return false;
}
void Component::setLevelsAction(std::function<void()>) {}

} // namespace platform
