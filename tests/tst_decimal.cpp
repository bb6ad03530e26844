#include "platform/decimal.h"

#include <QTest>

#include <cmath>
#include <limits>

class tst_Decimal : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
};

void tst_Decimal::parse_data() {}
void tst_Decimal::parse() {}

QTEST_APPLESS_MAIN(tst_Decimal)
#include "tst_decimal.moc"
