// An SVG document as a viewer reads it, for the tests and the fuzzer: the
// kind of each shape's element in order, each text's content and whether it
// keeps its blanks, or why the document does not parse.
#pragma once

#include "platform/picture.h"

#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <string>
#include <vector>

struct ReadSvg {
    std::vector<platform::Shape::Kind> kinds;
    QStringList texts;
    std::vector<bool> preserved; // xml:space="preserve", a text each
    QString error;
};

inline ReadSvg readSvg(const std::string &svg) {
    ReadSvg read;
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    const QStringList names{"rect", "line", "polygon", "text"};
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() != QLatin1String("svg")) {
            read.kinds.push_back(platform::Shape::Kind(names.indexOf(xml.name())));
            if (xml.name() == QLatin1String("text")) {
                read.preserved.push_back(xml.attributes().value(QLatin1String("xml:space")) ==
                                         QLatin1String("preserve"));
                read.texts << xml.readElementText();
            }
        }
    if (xml.hasError())
        read.error = xml.errorString();
    return read;
}

// The texts of a picture, in order.
inline QStringList textsOf(const platform::Picture &p) {
    QStringList texts;
    for (const platform::Shape &shape : p.shapes)
        if (shape.kind == platform::Shape::Kind::Text)
            texts << QString::fromStdString(shape.text);
    return texts;
}
