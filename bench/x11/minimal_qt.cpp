// The smallest Qt Widgets window of Quorvel's size, to compare start-up with.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(208, 257);
    window.setWindowTitle(QStringLiteral("minimal"));
    window.show();
    return app.exec();
}
