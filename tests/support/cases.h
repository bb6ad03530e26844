// The shared table of cases (tests/cases.tsv), read by every build's tests:
// what a player types and ticks, and the verdict line it must give, or
// "unchanged", with a line of its working.
#pragma once

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

struct Case {
    QString name;
    QStringList values;
    bool crest;
    QString verdict;
    QString working; // one line of it, where the table gives one
};

inline QList<Case> sharedCases() {
    QFile file(QStringLiteral(QUORVEL_CASES));
    QList<Case> cases;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return cases;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        if (line.endsWith(QLatin1Char('\n')))
            line.chop(1);
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (line.startsWith(QLatin1Char('#')) || cells.size() < 8 || cells.size() > 9)
            continue;
        cases.append({cells[0], cells.mid(1, 5), cells[6] == QLatin1String("ticked"), cells[7],
                      cells.value(8)});
    }
    return cases;
}
