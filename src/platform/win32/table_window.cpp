#include "native.h"

namespace platform {

TableWindow::TableWindow(Frame &) : Component(Native::make(L"STATIC", 0)) {}
TableWindow::~TableWindow() = default;
void TableWindow::setTitle(std::string_view) {}
void TableWindow::setContent(std::string_view, const Table &, std::string_view) {}
void TableWindow::show() {}
void TableWindow::hide() {}
bool TableWindow::showing() const {
    return false;
}

} // namespace platform
