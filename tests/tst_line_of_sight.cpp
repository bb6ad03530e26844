#include "los/line_of_sight.h"
#include "los/working.h"
#include "support/seeded_inputs.h"

#include <QRegularExpression>
#include <QTest>

#include <bit>
#include <charconv>

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

// The rule on its own, without the window: the conversion to integers, and a
// comparison with an independent reference in 64-bit arithmetic over a
// million inputs.
class tst_LineOfSight : public QObject {
    Q_OBJECT
private slots:
    void f2i_data();
    void f2i();
    void matchesReference();
};

namespace {
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr std::int32_t intMin = std::numeric_limits<std::int32_t>::min();

using seeded::belowTwo31;

// The reference: the same rule written out in 64-bit arithmetic and reduced
// modulo 2^32 at the end.
std::int64_t refToInt(float v) {
    const double t = std::trunc(static_cast<double>(v));
    if (std::isnan(t) || t < -2147483648.0 || t > 2147483647.0)
        return intMin;
    return static_cast<std::int64_t>(t);
}

std::int64_t wrap32(std::int64_t v) {
    std::int64_t r = v % 4294967296LL;
    if (r < 0)
        r += 4294967296LL;
    return r >= 2147483648LL ? r - 4294967296LL : r;
}

los::Verdict reference(const los::Sighting &s) {
    const bool atLeastBoth = s.ho >= s.hf && s.ho >= s.ht;
    if (atLeastBoth && (s.ho > s.hf || s.ho > s.ht))
        return {"LOS Blocked", los::red, {}, {}};
    const std::int64_t hf = refToInt(s.hf), ro = refToInt(s.ro), ho = refToInt(s.ho),
                       rt = refToInt(s.rt), ht = refToInt(s.ht);
    const bool fromTarget = ht > hf;
    const std::int64_t nearRange = fromTarget ? rt : ro, farRange = fromTarget ? ro : rt;
    std::int64_t blind = wrap32(nearRange / 5 + 2 * ho + (s.crest ? 0 : 1) - hf - ht);
    blind = std::max<std::int64_t>(blind, s.crest ? 0 : 1);
    char text[64];
    std::snprintf(text, sizeof text, "%lld Blind Hexes  %s (%s)", static_cast<long long>(blind),
                  fromTarget ? "T>F" : "F>T", farRange > blind ? "LOS OK" : "No LOS");
    return {text, farRange > blind ? los::green : los::red, {}, {}};
}
} // namespace

void tst_LineOfSight::f2i_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("expected");

    QTest::newRow("2.9") << 2.9f << 2;
    QTest::newRow("0.5") << 0.5f << 0;
    QTest::newRow("-2.9") << -2.9f << -2;
    QTest::newRow("-0.5") << -0.5f << 0;
    QTest::newRow("largest below 2^31") << belowTwo31 << 2147483520;
    QTest::newRow("2^31") << 2147483648.0f << intMin;
    QTest::newRow("-2^31") << -2147483648.0f << intMin;
    QTest::newRow("below -2^31") << -2147483904.0f << intMin;
    QTest::newRow("1e10") << 1e10f << intMin;
    QTest::newRow("largest float") << std::numeric_limits<float>::max() << intMin;
    QTest::newRow("infinity") << inf << intMin;
    QTest::newRow("minus infinity") << -inf << intMin;
    QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << intMin;
}

void tst_LineOfSight::f2i() {
    QFETCH(float, value);
    QFETCH(int, expected);
    // Truncation toward zero, whatever the rounding mode.
    const int saved = std::fegetround();
    for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        const std::int32_t got = los::f2i(value);
        std::fesetround(saved);
        QCOMPARE(got, expected);
    }
}

void tst_LineOfSight::matchesReference() {
    std::mt19937_64 rng(seeded::seed);
    const auto pick = [&] { return seeded::value(rng); };
    for (int i = 0; i < 1'000'000; ++i) {
        los::Sighting s{pick(), pick(), pick(), pick(), pick(), (rng() & 1) != 0};
        // Typed as the shortest texts that read back as the values.
        char texts[5][64];
        const float values[] = {s.hf, s.ro, s.ho, s.rt, s.ht};
        for (int k = 0; k < 5; ++k)
            s.typed[k] = {texts[k], std::to_chars(texts[k], texts[k] + 64, values[k]).ptr};
        const los::Verdict got = los::judge(s), want = reference(s);
        if (got.text != want.text || got.color != want.color || got.text.front() == '-')
            QFAIL(qPrintable(QStringLiteral("seed %1, case %2: %3 %4 %5 %6 %7 %8 gave \"%9\"")
                                 .arg(seeded::seed)
                                 .arg(i)
                                 .arg(s.hf)
                                 .arg(s.ro)
                                 .arg(s.ho)
                                 .arg(s.rt)
                                 .arg(s.ht)
                                 .arg(s.crest)
                                 .arg(QString::fromStdString(got.text))));
    }
}

QTEST_APPLESS_MAIN(tst_LineOfSight)
#include "tst_line_of_sight.moc"
