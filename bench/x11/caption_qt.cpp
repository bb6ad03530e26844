// A Qt window of Quorvel's size showing one caption: the minimal window plus
// the text stack (font configuration, font database, FreeType, HarfBuzz).
#include <QApplication>
#include <QLabel>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Height of Firer"));
    window.resize(208, 257);
    window.show();
    return app.exec();
}
