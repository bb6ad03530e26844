// A table's window: a top-level widget of its own, laid out by Qt's layouts,
// with the table in Qt's own table view over a model of platform::Table, and
// the same menu machinery, keys and save dialog as the form's verdict.
#include "menu.h"
#include "native.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>

namespace platform {

namespace {

// What the window manager draws round a window.
QMargins decoration(const QWidget *window) {
    const QRect outer = window->frameGeometry(), inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// The ink of the cells' words and of the frame round the marked one, as the
// table's image has them.
const QColor ink(32, 32, 32);

class TableModel : public QAbstractTableModel {
public:
    // Whether a cell is the marked one.
    static constexpr int markedRole = Qt::UserRole;

    void set(Table table) {
        beginResetModel();
        table_ = std::move(table);
        endResetModel();
    }
    const Table &table() const { return table_; }

    int rowCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() || table_.columns.empty() ? 0 : int(table_.rows.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() || table_.rows.empty() ? 0 : int(table_.columns.size());
    }

    QVariant data(const QModelIndex &index, int role) const override {
        if (!index.isValid())
            return {};
        const std::size_t at =
            std::size_t(index.row()) * table_.columns.size() + std::size_t(index.column());
        if (at >= table_.cells.size())
            return {};
        const Table::Cell &cell = table_.cells[at];
        switch (role) {
        case Qt::DisplayRole:
            return qt::qstring(cell.text);
        case Qt::AccessibleTextRole:
            return qt::qstring(cell.spoken);
        case Qt::ToolTipRole:
            return QStringLiteral("%1, %2: %3")
                .arg(headerData(index.row(), Qt::Vertical, Qt::AccessibleTextRole).toString(),
                     headerData(index.column(), Qt::Horizontal, Qt::AccessibleTextRole)
                         .toString()
                         .toLower(),
                     qt::qstring(cell.spoken));
        case Qt::BackgroundRole:
            return QColor(cell.color.red, cell.color.green, cell.color.blue);
        case Qt::ForegroundRole:
            return ink;
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::FontRole: {
            // The weight alone, on the view's own font.
            QFont bold;
            bold.setBold(true);
            return cell.marked ? QVariant(bold) : QVariant();
        }
        case markedRole:
            return cell.marked;
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        const bool rows = orientation == Qt::Vertical;
        const std::vector<std::string> &names = rows ? table_.rows : table_.columns;
        if (section < 0 || std::size_t(section) >= names.size())
            return {};
        const QString name = qt::qstring(names[std::size_t(section)]);
        switch (role) {
        case Qt::DisplayRole:
            return name;
        case Qt::AccessibleTextRole:
        case Qt::ToolTipRole:
            return qt::qstring(rows ? table_.rowsName : table_.columnsName) + ' ' + name;
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        default:
            return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override {
        return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
    }

private:
    Table table_;
};

// A cell in its colour with its words; the marked cell bold and framed in
// ink, and the cell the keyboard is on framed in the highlight's colour
// inside that, for the view selects nothing that would hide a cell's colour.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyleOptionViewItem plain = option;
        plain.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, plain, index);
        const QRectF box = QRectF(option.rect).adjusted(0, 0, -1, -1);
        painter->save();
        if (index.data(TableModel::markedRole).toBool()) {
            painter->setPen(QPen(ink, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter->drawRect(box.adjusted(1, 1, -1, -1));
        }
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2, Qt::SolidLine,
                                 Qt::SquareCap, Qt::MiterJoin));
            painter->drawRect(box.adjusted(3, 3, -3, -3));
        }
        painter->restore();
    }
};

class TableWidget : public QWidget {
public:
    explicit TableWidget(QWidget *form)
        : form_(form), heading_(new QLabel), caption_(new QLabel), view_(new QTableView),
          lines_(new QLabel) {
        heading_->setWordWrap(true);
        QFont bold = heading_->font();
        bold.setBold(true);
        heading_->setFont(bold);
        lines_->setWordWrap(true);

        view_->setModel(&model_);
        view_->setItemDelegate(new CellDelegate(view_));
        view_->setSelectionMode(QAbstractItemView::NoSelection);
        view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        // Tab leaves the table for the buttons; the arrows go from cell to cell.
        view_->setTabKeyNavigation(false);
        view_->setCornerButtonEnabled(false);
        view_->setWordWrap(false);
        for (QHeaderView *header : {view_->horizontalHeader(), view_->verticalHeader()}) {
            header->setSectionResizeMode(QHeaderView::Fixed);
            header->setHighlightSections(false);
        }
        view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view_->setAccessibleName(tr("Which levels see"));

        auto *buttons = new QHBoxLayout;
        const qt::MenuActions actions = qt::menuActions(this);
        const auto button = [&](const QString &label, QAction *action) {
            auto *b = new QPushButton(label);
            b->setAutoDefault(false);
            buttons->addWidget(b);
            if (action) {
                connect(b, &QPushButton::clicked, action, &QAction::trigger);
                const auto follow = [b, action] { b->setEnabled(action->isVisible()); };
                connect(action, &QAction::changed, b, follow);
                follow();
            }
            return b;
        };
        button(tr("&Copy"), actions.copy);
        button(tr("Copy &Picture"), actions.copyPicture);
        button(tr("&Save Picture\u2026"), actions.savePicture);
        buttons->addStretch();
        close_ = button(tr("Close"), nullptr);
        connect(close_, &QPushButton::clicked, this, &QWidget::hide);
        qt::setDefaultCopy(this, this);

        // Escape closes it as "Close" does: a key, not an item of its menu.
        connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::hide);

        auto *layout = new QVBoxLayout(this);
        // The window is as large as what it shows, the whole table in view.
        layout->setSizeConstraint(QLayout::SetFixedSize);
        layout->addWidget(heading_);
        layout->addWidget(caption_);
        layout->addWidget(view_);
        layout->addWidget(lines_);
        layout->addSpacing(4);
        layout->addLayout(buttons);
    }

    void setContent(const QString &heading, Table table, const QString &lines) {
        heading_->setText(heading);
        heading_->setHidden(heading.isEmpty());
        view_->setAccessibleDescription(heading);
        lines_->setText(lines);
        lines_->setHidden(lines.isEmpty());
        // Which way is which, for the headers are bare numbers.
        caption_->setText(
            tr("%1 down the side, %2 across the top.")
                .arg(qt::qstring(table.rowsName), qt::qstring(table.columnsName).toLower()));
        model_.set(std::move(table));
        const bool shown = model_.rowCount() > 0 && model_.columnCount() > 0;
        caption_->setVisible(shown);
        view_->setVisible(shown);
        if (shown) {
            fitTable();
            int row = 0, column = 0;
            const std::vector<Table::Cell> &cells = model_.table().cells;
            for (std::size_t i = 0; i < cells.size(); ++i)
                if (cells[i].marked) {
                    row = int(i / model_.table().columns.size());
                    column = int(i % model_.table().columns.size());
                }
            view_->setCurrentIndex(model_.index(row, column));
        }
        layout()->activate();
        // Grown or shrunk, it stays beside the form, never over it.
        if (isVisible() && outerFrame().intersects(form_ ? form_->frameGeometry() : QRect()))
            place();
    }

    // Opens beside the form the first time, where it was since; brings it to
    // the front with the keyboard in the table.
    void open() {
        if (!placed_) {
            layout()->activate();
            place();
            placed_ = true;
        }
        show();
        raise();
        activateWindow();
        if (view_->isVisible())
            view_->setFocus(Qt::ActiveWindowFocusReason);
        else
            close_->setFocus(Qt::ActiveWindowFocusReason);
    }

private:
    static constexpr int gap = 8; // between the form's frame and the window's

    // Every column as wide as the widest words, every row as high as a line
    // and a little more, and the view exactly as large as its cells and
    // headers.
    void fitTable() {
        QFont bold = view_->font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        int width = 0;
        for (const Table::Cell &cell : model_.table().cells)
            width = std::max(width, metrics.horizontalAdvance(qt::qstring(cell.text)));
        for (const std::string &name : model_.table().columns)
            width = std::max(width, metrics.horizontalAdvance(qt::qstring(name)));
        QHeaderView *across = view_->horizontalHeader(), *down = view_->verticalHeader();
        across->setMinimumSectionSize(0);
        down->setMinimumSectionSize(0);
        across->setDefaultSectionSize(width + 16);
        down->setDefaultSectionSize(metrics.height() + 8);
        // The firers' levels as wide as three digits and a sign at least.
        down->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("\u2212888")) + 8);
        const int frame = 2 * view_->frameWidth();
        view_->setFixedSize(frame + std::max(down->minimumWidth(), down->sizeHint().width()) +
                                across->length(),
                            frame + across->sizeHint().height() + down->length());
    }

    // The outer frame, where the window manager has not told this window's
    // decoration yet, with the form's.
    QRect outerFrame() const {
        QMargins around = decoration(this);
        if (around.isNull() && form_)
            around = decoration(form_);
        return QRect(frameGeometry().topLeft(), size().grownBy(around));
    }

    // Right of the form with a small gap, tops aligned; left of it where the
    // screen has no room on the right; on the right still where neither side
    // has room, for it never covers the form.
    void place() {
        if (!form_)
            return;
        const QRect beside = form_->frameGeometry();
        const QSize outer = outerFrame().size();
        const QScreen *screen = form_->screen();
        const QRect room = screen ? screen->availableGeometry() : beside;
        int x = beside.right() + 1 + gap;
        if (x + outer.width() > room.right() + 1 &&
            beside.left() - gap - outer.width() >= room.left())
            x = beside.left() - gap - outer.width();
        const int y =
            std::max(room.top(), std::min(beside.top(), room.bottom() + 1 - outer.height()));
        move(x, y);
    }

    QPointer<QWidget> form_;
    QLabel *heading_, *caption_;
    QTableView *view_;
    QLabel *lines_;
    QPushButton *close_ = nullptr;
    TableModel model_;
    bool placed_ = false;
};

TableWidget *window(const TableWindow &w) {
    return qt::widget<TableWidget>(w);
}

} // namespace

TableWindow::TableWindow(Frame &owner) : Component(qt::wrap(new TableWidget(qt::widget(owner)))) {}

TableWindow::~TableWindow() = default;

void TableWindow::setTitle(std::string_view title) {
    window(*this)->setWindowTitle(qt::qstring(title));
}

void TableWindow::setContent(std::string_view heading, const Table &table, std::string_view lines) {
    window(*this)->setContent(qt::qstring(heading), table, qt::qstring(lines));
}

void TableWindow::show() {
    window(*this)->open();
}

void TableWindow::hide() {
    window(*this)->hide();
}

bool TableWindow::showing() const {
    return window(*this)->isVisible();
}

} // namespace platform
