#include "platform/decimal.h"

#include <QTest>

#include <bit>
#include <cmath>
#include <limits>

// The parse behind the five fields: what a player may type, and what fails.
class tst_Decimal : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
};

namespace {
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
} // namespace

void tst_Decimal::parse_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<float>("value");

    const auto row = [](const char *name, QByteArray text, bool ok, float value) {
        QTest::newRow(name) << text << ok << value;
    };
    row("integer", "3", true, 3.0f);
    row("negative", "-2", true, -2.0f);
    row("plus sign", "+7", true, 7.0f);
    row("fraction", "2.5", true, 2.5f);
    row("leading point", ".5", true, 0.5f);
    row("trailing point", "4.", true, 4.0f);
    row("negative zero", "-0", true, -0.0f);
    row("exponent", "1.5e2", true, 150.0f);
    row("capital exponent with sign", "25E-1", true, 2.5f);
    row("blanks around", "  12 \t", true, 12.0f);
    row("control characters around",
        "\x01"
        "9\n",
        true, 9.0f);
    // Rounded once, straight to single precision: by way of double, the first
    // would land on the tie 1 + 2^-24 and then round down to 1.
    row("single rounding", "1.00000005960464477539062500001", true, 1.00000012f);
    row("tie to even", "1.000000059604644775390625", true, 1.0f);
    row("largest float", "3.4028235e38", true, std::numeric_limits<float>::max());
    row("overflow", "3.5e38", true, inf);
    row("negative overflow", "-1e39", true, -inf);
    row("huge exponent", "1e99999999999999999999", true, inf);
    row("many digits", QByteArray(400, '9'), true, inf);
    row("subnormal", "1e-45", true, std::numeric_limits<float>::denorm_min());
    row("underflow", "1e-50", true, 0.0f);
    row("negative underflow", "-7e-46", true, -0.0f);
    row("small with big mantissa", "123456789e-60", true, 0.0f);
    row("Infinity", "Infinity", true, inf);
    row("minus Infinity", "-Infinity", true, -inf);
    row("NaN", " NaN ", true, notANumber);

    for (const char *bad :
         {"",    "   ",      "abc", "1,5",       "1.5.2", "1e",    "1e+",         "e5",
          ".",   "-",        "+-1", "1 2",       "0x10",  "1.5f",  "2d",          "inf",
          "nan", "infinity", "NAN", "Infinity1", "--1",   "1_000", "\xef\xbc\x91"})
        row(bad, bad, false, 0.0f);
}

void tst_Decimal::parse() {
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    QFETCH(float, value);

    const std::optional<float> parsed =
        platform::parseFloat(std::string_view(text.constData(), text.size()));
    QCOMPARE(parsed.has_value(), ok);
    if (!ok)
        return;
    if (std::isnan(value))
        QVERIFY(std::isnan(*parsed));
    else
        QCOMPARE(std::bit_cast<std::uint32_t>(*parsed),
                 std::bit_cast<std::uint32_t>(value)); // the sign of zero counts too
}

QTEST_APPLESS_MAIN(tst_Decimal)
#include "tst_decimal.moc"
