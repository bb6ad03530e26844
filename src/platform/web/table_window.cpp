#include "native.h"

using emscripten::val;

extern "C" {
// From table.js: the dialog's parts, made once; its title; what it shows;
// opening and closing it beside its window (owner).
void quorvel_table_make(emscripten::EM_VAL dialog, emscripten::EM_VAL owner);
void quorvel_table_title(emscripten::EM_VAL dialog, const char *title);
void quorvel_table_content(emscripten::EM_VAL dialog, emscripten::EM_VAL content);
void quorvel_table_show(emscripten::EM_VAL dialog);
void quorvel_table_hide(emscripten::EM_VAL dialog);
}

namespace platform {

namespace {

val strings(const std::vector<std::string> &list) {
    val out = val::array();
    for (const std::string &s : list)
        out.call<void>("push", val(s));
    return out;
}

} // namespace

// A dialog of the browser's own; it joins the page when it first opens.
TableWindow::TableWindow(Frame &owner) : Component(std::make_unique<Native>("dialog", "q-levels")) {
    quorvel_table_make(native().element.as_handle(), owner.native().element.as_handle());
}

TableWindow::~TableWindow() = default;

void TableWindow::setTitle(std::string_view title) {
    quorvel_table_title(native().element.as_handle(), std::string(title).c_str());
}

void TableWindow::setContent(std::string_view heading, const Table &table, std::string_view lines) {
    val content = val::object();
    content.set("heading", std::string(heading));
    content.set("lines", std::string(lines));
    content.set("rowsName", table.rowsName);
    content.set("columnsName", table.columnsName);
    // A table that does not hold a cell for every row and column shows none.
    const bool whole = table.cells.size() == table.rows.size() * table.columns.size();
    content.set("rows", strings(whole ? table.rows : std::vector<std::string>{}));
    content.set("columns", strings(table.columns));
    val cells = val::array();
    for (const Table::Cell &cell : table.cells) {
        val c = val::array();
        for (const std::string *s : {&cell.text, &cell.brief, &cell.spoken})
            c.call<void>("push", val(*s));
        c.call<void>("push", val(web::color(cell.color)));
        c.call<void>("push", val(cell.marked));
        cells.call<void>("push", c);
    }
    content.set("cells", cells);
    quorvel_table_content(native().element.as_handle(), content.as_handle());
}

void TableWindow::show() {
    quorvel_table_show(native().element.as_handle());
}

void TableWindow::hide() {
    quorvel_table_hide(native().element.as_handle());
}

bool TableWindow::showing() const {
    return native().element["open"].as<bool>();
}

} // namespace platform
