#include "platform/qt/look.h"
#include "support/form_driver.h"

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

private:
    // The window's client area, in device pixels at the given scale.
    QImage render(qreal scale);

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

void tst_HiDpi::textIsSharp() {
    // "Height of Firer" at scale 2 has detail of its own, not the scale-1
    // pixels doubled.
    const QImage one = render(1), two = render(2);
    const QRect caption = driver->form.l_1->geometry();
    const QImage doubled =
        one.copy(caption).scaled(caption.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage fine = two.copy(QRect(caption.topLeft() * 2, caption.size() * 2));
    int differing = 0;
    for (int y = 0; y < fine.height(); ++y)
        for (int x = 0; x < fine.width(); ++x)
            differing += fine.pixel(x, y) != doubled.pixel(x, y);
    QVERIFY2(differing > fine.width() * fine.height() / 20, qPrintable(QString::number(differing)));
}

QTEST_MAIN(tst_HiDpi)
#include "tst_hidpi.moc"
