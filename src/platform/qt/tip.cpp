// Qt's own tooltip shows text alone, so a tooltip with a picture is a window
// of the program's own: a Qt::ToolTip window in the tooltip's palette, font
// and frame, one per top-level window, made the first time it shows. It opens
// on the component's ToolTip event, which Qt sends once the pointer has rested
// for its usual pause, and goes as a tooltip goes: when the pointer leaves the
// component, on a click, a key or the wheel, when a window is activated or
// deactivated, and after a while. It never takes the focus.
#include "tip.h"
#include "look.h"
#include "native.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyleOptionFrame>
#include <QStylePainter>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <optional>

namespace platform::qt {

namespace {

QColor qcolor(Color c) {
    return QColor(std::clamp(c.red, 0, 255), std::clamp(c.green, 0, 255),
                  std::clamp(c.blue, 0, 255));
}

// What a component's tooltip shows beyond what its widget keeps: a child of
// the widget that watches its events.
class Extras : public QObject {
public:
    explicit Extras(QWidget *owner) : QObject(owner) { owner->installEventFilter(this); }

    QString text;
    std::optional<Picture> picture;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
};

class TipWindow : public QWidget {
public:
    explicit TipWindow(QWidget *window)
        : QWidget(window, Qt::ToolTip | Qt::BypassGraphicsProxyWidget) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setPalette(QToolTip::palette());
        setFont(QToolTip::font());
        setForegroundRole(QPalette::ToolTipText);
        setBackgroundRole(QPalette::ToolTipBase);
        expiry_.setSingleShot(true);
        connect(&expiry_, &QTimer::timeout, this, [this] { hideTip(); });
    }

    QWidget *owner() const { return owner_; }

    // Shows what the component holds, below and to the right of the pointer
    // as Qt's own tooltip does, kept on the screen.
    void showFor(QWidget *owner, const Extras &extras, QPoint pointer) {
        owner_ = owner;
        text_ = extras.text;
        picture_ = extras.picture;
        resize(contentSize());
        place(pointer);
        if (!isVisible()) {
            qApp->installEventFilter(this);
            show();
        } else {
            raise();
            update();
        }
        // As long as Qt keeps its own tooltips: ten seconds and a little more
        // for a long text.
        expiry_.start(10000 + 40 * int(std::min<qsizetype>(text_.size(), 2000)));
    }

    void hideTip() {
        expiry_.stop();
        qApp->removeEventFilter(this);
        hide();
        owner_ = nullptr;
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QStylePainter painter(this);
        QStyleOptionFrame frame;
        frame.initFrom(this);
        painter.drawPrimitive(QStyle::PE_PanelTipLabel, frame);
        const QPoint corner = contentCorner();
        int top = corner.y();
        if (picture_) {
            painter.save();
            painter.translate(corner.x(), top);
            paint(painter, *picture_);
            painter.restore();
            top += pictureSize().height() + gap;
        }
        painter.setPen(palette().color(QPalette::ToolTipText));
        painter.drawText(QRect(QPoint(corner.x(), top), textSize()), textFlags, text_);
    }

    bool eventFilter(QObject *watched, QEvent *e) override {
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            switch (static_cast<QKeyEvent *>(e)->key()) {
            case Qt::Key_Shift:
            case Qt::Key_Control:
            case Qt::Key_Alt:
            case Qt::Key_Meta:
                break;
            default:
                hideTip();
            }
            break;
        case QEvent::Leave:
            if (watched == owner_)
                hideTip();
            break;
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::Close:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            hideTip();
            break;
        default:
            break;
        }
        return false;
    }

private:
    static constexpr int gap = 4; // between the picture and the lines
    static constexpr int textFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs;

    // Where Qt's own tooltip puts its text: inside its frame and margin, one
    // pixel in from the left.
    int margin() const { return 1 + style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth); }
    QPoint contentCorner() const { return {margin() + 1, margin()}; }
    QSize textSize() const { return fontMetrics().boundingRect(QRect(), textFlags, text_).size(); }
    QSize pictureSize() const {
        if (!picture_)
            return {};
        return {std::clamp(picture_->width, 0, 4000), std::clamp(picture_->height, 0, 4000)};
    }
    QSize contentSize() const {
        const QSize text = textSize(), picture = pictureSize();
        return {std::max(text.width(), picture.width()) + 2 * margin() + 1,
                text.height() + (picture_ ? picture.height() + gap : 0) + 2 * margin()};
    }

    void place(QPoint pointer) {
        const QScreen *screen = QGuiApplication::screenAt(pointer);
        const QRect room = (screen ? screen : this->screen())->availableGeometry();
        QPoint at = pointer + QPoint(2, 16);
        if (at.x() + width() > room.right() + 1)
            at.rx() -= 4 + width();
        if (at.y() + height() > room.bottom() + 1)
            at.ry() -= 24 + height();
        at.setX(std::max(std::min(at.x(), room.right() + 1 - width()), room.left()));
        at.setY(std::max(std::min(at.y(), room.bottom() + 1 - height()), room.top()));
        move(at);
    }

    QPointer<QWidget> owner_;
    QString text_;
    std::optional<Picture> picture_;
    QTimer expiry_;
};

bool Extras::eventFilter(QObject *watched, QEvent *e) {
    auto *owner = static_cast<QWidget *>(parent());
    if (watched != owner)
        return false;
    if (e->type() == QEvent::ToolTip && !text.isEmpty()) {
        childOf<TipWindow>(owner->window(), true)
            ->showFor(owner, *this, static_cast<QHelpEvent *>(e)->globalPos());
        return true;
    }
    return false;
}

} // namespace

void setTip(QWidget *widget, const QString &text, const Picture *picture) {
    Extras *extras = childOf<Extras>(widget, !text.isEmpty());
    if (!extras)
        return;
    extras->text = text;
    extras->picture.reset();
    if (picture && !picture->empty())
        extras->picture = *picture;
    // A tooltip on show follows what it shows.
    TipWindow *tip = childOf<TipWindow>(widget->window());
    if (!tip || tip->owner() != widget || !tip->isVisible())
        return;
    if (text.isEmpty())
        tip->hideTip();
    else
        tip->showFor(widget, *extras, QCursor::pos());
}

void paint(QPainter &painter, const Picture &picture) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Shape &s : picture.shapes) {
        const QRectF box(s.x, s.y, s.width, s.height);
        const QPen pen(qcolor(s.ink), s.lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        switch (s.kind) {
        case Shape::Kind::Rectangle:
            if (s.filled)
                painter.fillRect(box, qcolor(s.fill));
            if (s.stroked) {
                // The outline lies inside the box.
                const qreal half = s.lineWidth / 2;
                painter.setPen(pen);
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(box.adjusted(half, half, -half, -half));
            }
            break;
        case Shape::Kind::Line:
            painter.setPen(pen);
            painter.drawLine(QPointF(s.points[0].x, s.points[0].y),
                             QPointF(s.points[1].x, s.points[1].y));
            break;
        case Shape::Kind::Polygon: {
            QPolygonF corners;
            for (std::size_t i = 0; i < std::min<std::size_t>(s.count, Shape::maxPoints); ++i)
                corners << QPointF(s.points[i].x, s.points[i].y);
            painter.setPen(s.stroked ? pen : QPen(Qt::NoPen));
            painter.setBrush(s.filled ? QBrush(qcolor(s.fill)) : QBrush(Qt::NoBrush));
            painter.drawPolygon(corners);
            break;
        }
        case Shape::Kind::Text: {
            const int size = s.size >= 1 ? int(std::min(s.size, 400.f) + 0.5f) : 1;
            painter.setFont(font({"Dialog", s.bold ? Font::Bold : Font::Plain, size}));
            painter.setPen(qcolor(s.ink));
            const int align = s.align == Shape::Align::Left    ? Qt::AlignLeft
                              : s.align == Shape::Align::Right ? Qt::AlignRight
                                                               : Qt::AlignHCenter;
            painter.drawText(box, align | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
                             qstring(s.text));
            break;
        }
        }
    }
    painter.restore();
}

QImage raster(const Picture &picture, int scale) {
    scale = std::clamp(scale, 1, 8);
    QImage image(std::clamp(picture.width, 1, 4000) * scale,
                 std::clamp(picture.height, 1, 4000) * scale, QImage::Format_RGB32);
    // The image's own ground, its first shape, reaches every edge, whatever
    // smoothing does along them.
    image.fill(picture.empty() ? QColor(Qt::white) : qcolor(picture.shapes.front().fill));
    QPainter painter(&image);
    painter.scale(scale, scale);
    paint(painter, picture);
    return image;
}

} // namespace platform::qt
