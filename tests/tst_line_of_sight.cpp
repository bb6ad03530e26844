#include "los/line_of_sight.h"

#include <QTest>

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

// The rule on its own, without the window: the conversion to integers, the
// verdicts that only odd values reach, and a comparison with an independent
// reference in 64-bit arithmetic over a million inputs.
class tst_LineOfSight : public QObject {
    Q_OBJECT
private slots:
    void f2i_data();
    void f2i();
    void f2iIgnoresRoundingMode();
    void judge_data();
    void judge();
    void matchesReference();
};

namespace {
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr std::int32_t intMin = std::numeric_limits<std::int32_t>::min();

// The largest single-precision value below 2^31.
constexpr float belowTwo31 = 2147483520.0f;

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
        return {"LOS Blocked", los::red};
    const std::int64_t hf = refToInt(s.hf), ro = refToInt(s.ro), ho = refToInt(s.ho),
                       rt = refToInt(s.rt), ht = refToInt(s.ht);
    const bool fromTarget = ht > hf;
    const std::int64_t nearRange = fromTarget ? rt : ro, farRange = fromTarget ? ro : rt;
    std::int64_t blind = wrap32(nearRange / 5 + 2 * ho + (s.crest ? 0 : 1) - hf - ht);
    blind = std::max<std::int64_t>(blind, s.crest ? 0 : 1);
    char text[64];
    std::snprintf(text, sizeof text, "%lld Blind Hexes  %s (%s)", static_cast<long long>(blind),
                  fromTarget ? "T>F" : "F>T", farRange > blind ? "LOS OK" : "No LOS");
    return {text, farRange > blind ? los::green : los::red};
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
    QCOMPARE(los::f2i(value), expected);
}

void tst_LineOfSight::f2iIgnoresRoundingMode() {
    const int saved = std::fegetround();
    for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TONEAREST}) {
        std::fesetround(mode);
        const std::int32_t up = los::f2i(2.9f), down = los::f2i(-2.9f), half = los::f2i(2.5f);
        std::fesetround(saved);
        QCOMPARE(up, 2);
        QCOMPARE(down, -2);
        QCOMPARE(half, 2);
    }
}

void tst_LineOfSight::judge_data() {
    QTest::addColumn<los::Sighting>("sighting");
    QTest::addColumn<QString>("text");

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const auto row = [](const char *name, los::Sighting s, const char *text) {
        QTest::newRow(name) << s << QString::fromLatin1(text);
    };
    // Blocked test on the values as typed, before truncation.
    row("fractions block", {1.2f, 1, 1.5f, 1, 1.4f, false}, "LOS Blocked");
    row("fractions tie after truncation", {1.2f, 0, 1.5f, 0, 1.7f, false},
        "1 Blind Hexes  F>T (No LOS)");
    row("obstacle above both, crest", {1, 5, 3, 5, 2, true}, "LOS Blocked");
    row("NaN obstacle never blocks", {1, 5, nan, 5, 1, false}, "1 Blind Hexes  F>T (LOS OK)");
    // Higher end and division.
    row("equal integer heights take the firer", {3.1f, 12, 1, 2, 3.8f, false},
        "1 Blind Hexes  F>T (LOS OK)");
    row("target higher by integer", {0, 4, 1, 6, 3, false}, "1 Blind Hexes  T>F (LOS OK)");
    row("-7 / 5 is -1", {3, -7, 2, 9, 0, false}, "1 Blind Hexes  F>T (LOS OK)");
    row("-4 / 5 is 0", {3, -4, 2, 9, 0, false}, "2 Blind Hexes  F>T (LOS OK)");
    // Lower bounds: 0 with a crest line, 1 without.
    row("crest bound 0", {9, 0, 0, 1, 0, true}, "0 Blind Hexes  F>T (LOS OK)");
    row("crest bound 0, far 0", {9, 0, 0, 0, 0, true}, "0 Blind Hexes  F>T (No LOS)");
    row("plain bound 1", {9, 0, 0, 2, 0, false}, "1 Blind Hexes  F>T (LOS OK)");
    row("plain bound 1, far 1", {9, 0, 0, 1, 0, false}, "1 Blind Hexes  F>T (No LOS)");
    // Far range against the count: equal is blind, one more is seen.
    row("far equals count", {3, 10, 2, 4, 0, false}, "4 Blind Hexes  F>T (No LOS)");
    row("far one more", {3, 10, 2, 5, 0, false}, "4 Blind Hexes  F>T (LOS OK)");
    // Values beyond 32 bits and the wrap-around.
    row("huge firer", {1e10f, 1, 0, 1, 0, false}, "1 Blind Hexes  T>F (No LOS)");
    row("infinite firer", {inf, 1, 0, 1, 0, false}, "1 Blind Hexes  T>F (No LOS)");
    row("NaN target wraps the count", {5, 1, 0, 10, nan, false},
        "2147483644 Blind Hexes  F>T (No LOS)");
    row("count wraps negative, raised", {2.1e9f, 0, 2e9f, 9, -2e9f, false},
        "1 Blind Hexes  F>T (LOS OK)");
    row("count wraps to positive", {2e9f, 0, -2e9f, 9, 2e9f, false},
        "589934593 Blind Hexes  F>T (No LOS)");
}

void tst_LineOfSight::judge() {
    QFETCH(los::Sighting, sighting);
    QFETCH(QString, text);
    const los::Verdict verdict = los::judge(sighting);
    QCOMPARE(QString::fromStdString(verdict.text), text);
    const bool seen = text.endsWith(QLatin1String("(LOS OK)"));
    QVERIFY(verdict.color == (seen ? los::green : los::red));
    QCOMPARE(reference(sighting), verdict);
}

void tst_LineOfSight::matchesReference() {
    constexpr std::uint64_t seed = 20261207;
    std::mt19937_64 rng(seed);
    const float edges[] = {0,
                           1,
                           -1,
                           4.99f,
                           5,
                           -5,
                           belowTwo31,
                           -belowTwo31,
                           2147483648.0f,
                           -2147483648.0f,
                           1073741824.0f,
                           -1073741824.0f,
                           inf,
                           -inf,
                           std::numeric_limits<float>::quiet_NaN(),
                           std::numeric_limits<float>::max(),
                           std::numeric_limits<float>::denorm_min()};
    const auto pick = [&]() -> float {
        switch (rng() % 4) {
        case 0:
            return edges[rng() % std::size(edges)];
        case 1:
            return static_cast<float>(static_cast<std::int64_t>(rng() % 41) - 20);
        case 2: {
            const auto bits = static_cast<std::uint32_t>(rng());
            float f;
            std::memcpy(&f, &bits, sizeof f);
            return f;
        }
        default:
            return std::uniform_real_distribution<float>(-3e9f, 3e9f)(rng);
        }
    };
    for (int i = 0; i < 1'000'000; ++i) {
        const los::Sighting s{pick(), pick(), pick(), pick(), pick(), (rng() & 1) != 0};
        const los::Verdict got = los::judge(s);
        if (got != reference(s) || got.text.front() == '-')
            QFAIL(qPrintable(QStringLiteral("seed %1, case %2: %3 %4 %5 %6 %7 %8 gave \"%9\"")
                                 .arg(seed)
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
