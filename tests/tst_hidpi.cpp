#include "platform/qt/look.h"
#include "support/form_driver.h"
#include "support/screen_colours.h"

#include <QHelpEvent>

// Run with QT_SCALE_FACTOR=2: the window takes twice the device pixels, every
// component sits at twice its place, and text is drawn at the finer
// resolution rather than scaled up.
class tst_HiDpi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void twiceTheSize();
    void componentsAtTwiceTheirPlaces();
    void textIsSharp();
    void tooltipPicture();

private:
    // The window's client area, in device pixels at the given scale.
    QImage render(qreal scale);
    // How many pixels of the widget's picture, scaled up from scale 1, differ
    // from its own at scale 2 in the given box.
    static int finerDetail(const QImage &one, const QImage &two, QRect box);

    std::unique_ptr<FormDriver> driver;
};

void tst_HiDpi::initTestCase() {
    QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("2"));
    platform::qt::installStyle();
    driver = std::make_unique<FormDriver>();
    QVERIFY(driver->ok);
}

QImage tst_HiDpi::render(qreal scale) {
    QImage image(driver->top.size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    driver->top.render(&image);
    return image;
}

void tst_HiDpi::twiceTheSize() {
    QCOMPARE(driver->top.windowHandle()->devicePixelRatio(), 2.0);
    QCOMPARE(driver->top.frameGeometry().size() * 2, QSize(416, 514));
    QCOMPARE(driver->top.grab().size(), driver->top.size() * 2);
}

void tst_HiDpi::componentsAtTwiceTheirPlaces() {
    const QImage one = render(1), two = render(2);
    // Near the left edge of each component, halfway down.
    for (const auto &[name, widget] : driver->form.components()) {
        const QPoint probe = widget->mapTo(&driver->top, QPoint(2, widget->height() / 2));
        for (QPoint d : {QPoint(0, 0), QPoint(1, 1)})
            QVERIFY2(two.pixelColor(probe * 2 + d) == one.pixelColor(probe), name.constData());
    }
}

int tst_HiDpi::finerDetail(const QImage &one, const QImage &two, QRect box) {
    const QImage doubled =
        one.copy(box).scaled(box.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage fine = two.copy(QRect(box.topLeft() * 2, box.size() * 2));
    int differing = 0;
    for (int y = 0; y < fine.height(); ++y)
        for (int x = 0; x < fine.width(); ++x)
            differing += fine.pixel(x, y) != doubled.pixel(x, y);
    return differing;
}

void tst_HiDpi::textIsSharp() {
    // "Height of Firer" at scale 2 has detail of its own, not the scale-1
    // pixels doubled.
    const QRect caption = driver->form.l_1->geometry();
    const int differing = finerDetail(render(1), render(2), caption);
    QVERIFY2(differing > caption.width() * caption.height() * 4 / 20,
             qPrintable(QString::number(differing)));
}

// The verdict's tooltip, once the pointer rests on it: twice the size, its
// picture with four times the pixels in the verdict's green, drawn anew.
void tst_HiDpi::tooltipPicture() {
    driver->enter({"2", "3", "1", "4", "0"}, false);
    driver->form.calc();
    QLabel *verdict = driver->form.l_result;
    QHelpEvent rest(QEvent::ToolTip, QPoint(5, 5), verdict->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(verdict, &rest);
    QWidget *tip = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->windowType() == Qt::ToolTip && w->isVisible())
            tip = w;
    QVERIFY(tip);
    QImage one(tip->size(), QImage::Format_RGB32);
    tip->render(&one);
    const QImage two = tip->grab().toImage();
    QCOMPARE(two.size(), tip->size() * 2);
    const auto count = [](const QImage &image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == green;
        return n;
    };
    QVERIFY(count(one) > 20);
    QVERIFY2(qAbs(count(two) - 4 * count(one)) <= count(one) / 4,
             qPrintable(QStringLiteral("%1 against %2").arg(count(two)).arg(count(one))));
    QVERIFY(finerDetail(one, two, tip->rect()) > tip->width() * tip->height() / 20);
    tip->hide();
}

QTEST_MAIN(tst_HiDpi)
#include "tst_hidpi.moc"
