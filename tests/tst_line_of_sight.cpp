#include "los/image.h"
#include "los/levels.h"
#include "los/line_of_sight.h"
#include "los/side_view.h"
#include "los/working.h"
#include "platform/decimal.h"
#include "platform/svg.h"
#include "support/cases.h"
#include "support/picture_checks.h"
#include "support/seeded_inputs.h"
#include "support/svg_checks.h"

#include <QTest>
#include <QXmlStreamReader>

#include <charconv>

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

// The rule on its own, without the window: the conversion to integers, a
// comparison with an independent reference in 64-bit arithmetic over a
// million inputs, and the picture of each case of the shared table.
class tst_LineOfSight : public QObject {
    Q_OBJECT
private slots:
    void f2i_data();
    void f2i();
    void matchesReference();
    void sideView_data();
    void sideView();
    void image_data();
    void image();
    void svgText_data();
    void svgText();
    void levels_data();
    void levels();
    void levelsText();
    void rasterScale();
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
// The case of the shared table that the test runs, as "Calculate" reads it,
// with the texts the sighting quotes.
struct Read {
    Read() {
        QFETCH(QStringList, values);
        QFETCH(bool, crest);
        sighting.crest = crest;
        for (std::size_t i = 0; i < 5; ++i) {
            texts[i] = values[int(i)].toStdString();
            *fields[i] = platform::parseFloat(texts[i]).value();
            sighting.typed[i] = texts[i];
        }
    }
    Read(const Read &) = delete;

    std::string texts[5];
    los::Sighting sighting{};
    float *const fields[5] = {&sighting.hf, &sighting.ro, &sighting.ho, &sighting.rt, &sighting.ht};
};
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
        if (got.text != want.text || got.color != want.color || got.text.front() == '-' ||
            picture_checks::fault(got.picture))
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

void tst_LineOfSight::sideView_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("crest");
    for (const Case &c : sharedCases())
        if (c.verdict != QLatin1String("unchanged"))
            QTest::newRow(qPrintable(c.name)) << c.values << c.crest;
}

// The picture of every case of the shared table shows what the rule decided:
// the lower end's counter in the verdict's colour, and nothing else in it;
// the counters one above the other as their whole heights are; the obstacle
// at its range from the firer; as many blind hexes shaded as the count (a
// long stretch of them shortened, with the count beneath), none where the
// line is blocked; each height, range and the count written out.
void tst_LineOfSight::sideView() {
    const Read typed;
    const los::Sighting &s = typed.sighting;
    const auto &fields = typed.fields;
    const los::Decision d = los::decide(s);
    const los::Verdict v = los::judge(s);
    const platform::Picture &p = v.picture;
    QVERIFY2(!picture_checks::fault(p), picture_checks::fault(p));
    QCOMPARE(QSize(p.width, p.height), QSize(los::viewWidth, los::viewHeight));

    std::vector<const platform::Shape *> counters, shaded, cells, obstacle;
    QStringList numbers;
    for (const platform::Shape &shape : p.shapes) {
        if (shape.kind == platform::Shape::Kind::Text)
            numbers << QString::fromStdString(shape.text);
        if (!shape.filled)
            continue;
        if (shape.fill == v.color || shape.fill == los::higherEnd)
            counters.push_back(&shape);
        if (shape.fill == los::blindHex || shape.fill == los::hex)
            cells.push_back(&shape);
        if (shape.fill == los::blindHex)
            shaded.push_back(&shape);
        if (shape.fill == los::obstacle)
            obstacle.push_back(&shape);
    }
    QCOMPARE(counters.size(), std::size_t(2));
    QCOMPARE(obstacle.size(), std::size_t(1));
    const platform::Shape *firer = counters[0], *target = counters[1];
    if (firer->x > target->x)
        std::swap(firer, target);
    const bool targetLower = d.blocked || !d.targetHigher;
    QCOMPARE((targetLower ? target : firer)->fill, v.color);
    QCOMPARE((targetLower ? firer : target)->fill, los::higherEnd);
    const auto [ihf, iro, iho, irt, iht] = d.whole;
    const float firerFoot = firer->y + firer->height, targetFoot = target->y + target->height;
    QCOMPARE(firerFoot<targetFoot, ihf> iht);
    QCOMPARE(firerFoot == targetFoot, ihf == iht);
    const auto write = [&](std::size_t i) {
        return QString::fromStdString(d.blocked && i % 2 == 0 ? los::quoted(s.typed[i], *fields[i])
                                                              : los::number(d.whole[i]));
    };
    for (std::size_t i = 0; i < 5; ++i)
        QVERIFY2(numbers.contains(write(i)), qPrintable(write(i) + " in " + numbers.join(' ')));

    // The obstacle's hex stands its range of columns from the firer's,
    // where the board is drawn to scale.
    const float column = cells.front()->width;
    const float firerX = firer->x + firer->width / 2;
    const float obstacleX = obstacle[0]->kind == platform::Shape::Kind::Rectangle
                                ? obstacle[0]->x + obstacle[0]->width / 2
                                : (obstacle[0]->points[0].x + obstacle[0]->points[3].x) / 2;
    if (iro >= 1 && std::int64_t{iro} + irt + d.blind.count <= 20)
        QCOMPARE(qRound((obstacleX - firerX) / column), iro);

    if (d.blocked) {
        QVERIFY(shaded.empty());
        return;
    }
    QVERIFY(numbers.contains(QString::fromStdString(los::number(d.blind.count))));
    // Every blind hex is shaded where the whole board fits; a stretch of
    // them shortened shows its two ends.
    const std::int64_t columns =
        std::int64_t{d.nearRange} + 1 + std::max<std::int64_t>(d.farRange, d.blind.count);
    if (d.nearRange >= 1 && d.farRange >= 1 && columns <= 24)
        QCOMPARE(shaded.size(), std::size_t(d.blind.count));
    else if (shaded.size() != std::size_t(d.blind.count))
        QVERIFY2(d.blind.count > 3 && shaded.size() >= 2 &&
                     shaded.size() < std::size_t(d.blind.count),
                 qPrintable(QString::number(shaded.size())));
}

// The image of every case of the shared table: the side view at its top, the
// verdict on a band of its colour, the five values as typed and the crest
// line under it, all inside its box; and as SVG, a document that parses, with
// an element for every shape and each text as the picture has it.
void tst_LineOfSight::image_data() {
    sideView_data();
}

void tst_LineOfSight::image() {
    const Read typed;
    const los::Sighting &s = typed.sighting;
    const auto &fields = typed.fields;
    const los::Decision d = los::decide(s);
    const std::string link = "https://example.org/q/#" + std::string(200, 'x');
    const platform::Picture p = los::image(d, link), view = los::sideView(d);
    QVERIFY2(!picture_checks::fault(p), picture_checks::fault(p));
    QCOMPARE(p.width, los::viewWidth);
    QVERIFY(std::search(p.shapes.begin(), p.shapes.end(), view.shapes.begin(), view.shapes.end()) ==
            p.shapes.begin() + 1);
    QVERIFY(p.shapes[0].filled && p.shapes[0].width == float(p.width) &&
            p.shapes[0].height == float(p.height));

    QStringList written, elements;
    std::vector<platform::Shape::Kind> kinds;
    for (const platform::Shape &shape : p.shapes) {
        kinds.push_back(shape.kind);
        if (shape.kind == platform::Shape::Kind::Text)
            written << QString::fromStdString(shape.text);
    }
    const auto band = std::find_if(p.shapes.begin(), p.shapes.end(), [&](const auto &shape) {
        return shape.text == los::verdictLine(d);
    });
    QVERIFY(band != p.shapes.end() && band->bold && (band - 1)->fill == los::verdictColor(d));
    for (std::size_t i = 0; i < 5; ++i)
        QVERIFY(written.contains(QString::fromStdString(los::quoted(s.typed[i], *fields[i]))));
    // The link last, in as many lines as it takes.
    const auto crestRow = written.lastIndexOf(s.crest ? "yes" : "no");
    QVERIFY(crestRow > 0);
    QCOMPARE(written.mid(crestRow + 1).join(""), QString::fromStdString(link));
    // A link over six lines is left out; the copied text has it.
    QCOMPARE(textsOf(los::image(d, std::string(2000, 'y'))).last(), s.crest ? "yes" : "no");

    const ReadSvg read = readSvg(platform::svg(p));
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QVERIFY(read.kinds == kinds);
    QCOMPARE(read.texts, written);
}

// Whatever a text holds, the SVG holds it as text: markup escaped, blanks
// kept, and what XML cannot hold as U+FFFD.
void tst_LineOfSight::svgText_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("read");
    QTest::newRow("markup") << QByteArray("<b>&amp;</b>\"'") << "<b>&amp;</b>\"'";
    QTest::newRow("two blanks") << QByteArray("1 Blind Hexes  F>T") << "1 Blind Hexes  F>T";
    QTest::newRow("signs") << QByteArray("\u2212 \u00d7 \u2026") << "\u2212 \u00d7 \u2026";
    QTest::newRow("control") << QByteArray("a\x01\tb") << "a\ufffd\ufffdb";
    QTest::newRow("broken UTF-8") << QByteArray("\xc3(\xed\xa0\x80") << "\ufffd(\ufffd\ufffd\ufffd";
    QTest::newRow("overlong") << QByteArray("\xc0\xbc") << "\ufffd\ufffd";
    QTest::newRow("forbidden") << QByteArray("a\xef\xbf\xbe\xc2\x85z") << "a\ufffd\ufffdz";
}

void tst_LineOfSight::svgText() {
    QFETCH(QByteArray, text);
    QFETCH(QString, read);
    platform::Picture p{10, 10, {}};
    p.shapes.emplace_back().kind = platform::Shape::Kind::Text;
    p.shapes[0].text = text.toStdString();
    const ReadSvg svg = readSvg(platform::svg(p));
    QVERIFY2(svg.error.isEmpty(), qPrintable(svg.error));
    QCOMPARE(svg.texts, QStringList{read});
    // Blanks two in a row are kept by the text itself, which viewers heed.
    QCOMPARE(svg.preserved.front(), text.contains("  "));
}

// Which levels see, for every case of the shared table and a few more: each
// cell is the form's own verdict for its two heights; the run of levels
// holds what a player looks for; the text and the image show every cell. An
// obstacle that is no number, or far from the ground, gives no table.
void tst_LineOfSight::levels_data() {
    sideView_data();
    QTest::newRow("below the ground") << QStringList{"-2", "6", "-4", "3", "-7"} << false;
    QTest::newRow("high hill, crest") << QStringList{"31", "12", "30", "4", "25"} << true;
    QTest::newRow("obstacle 1.5 blocks level 1") << QStringList{"1", "4", "1.5", "4", "1"} << false;
    for (const char *far : {"Infinity", "-Infinity", "1e9", "1000.5"})
        QTest::newRow(far) << QStringList{"1", "5", far, "5", "1"} << false;
}

void tst_LineOfSight::levels() {
    const Read typed;
    const los::Sighting &s = typed.sighting;
    const los::LevelTable t = los::levelTable(s);
    QVERIFY(!t.title.empty() && !t.name.empty() && t.name.find('\xe2') == std::string::npos);
    if (!(std::fabs(s.ho) <= los::maxLevel)) {
        QVERIFY(t.empty() && t.none.find("No table") == 0);
        QCOMPARE(QString::fromStdString(los::text(t)).count('\n'), 1);
        return;
    }
    QVERIFY(t.none.empty());
    QVERIFY(t.firers.size() >= los::fewestLevels && t.firers.size() <= los::mostLevels);
    QVERIFY(std::equal(t.firers.rbegin(), t.firers.rend(), t.targets.begin(), t.targets.end()));
    for (std::size_t i = 1; i < t.targets.size(); ++i)
        QCOMPARE(t.targets[i], t.targets[i - 1] + 1);
    const auto holds = [&](std::int64_t level) {
        return level >= t.targets.front() && level <= t.targets.back();
    };
    const std::int32_t o = los::f2i(s.ho);
    QVERIFY(holds(o) && holds(o + 2));
    QVERIFY(holds(0) || o < -8 || o > 8);
    for (const auto &[height, place] : {std::pair{s.hf, t.firerRow}, {s.ht, t.targetColumn}}) {
        const bool whole = std::trunc(height) == height && std::fabs(height) < 1e6f;
        const std::int64_t level = whole ? std::int64_t(height) : 0;
        // Held where it fits beside the obstacle's levels.
        if (whole && std::max<std::int64_t>(o + 2, level) - std::min<std::int64_t>(o, level) < 4)
            QVERIFY(holds(level));
        QCOMPARE(place.has_value(), whole && holds(level));
    }

    QCOMPARE(t.cells.size(), t.firers.size() * t.targets.size());
    los::Sighting one = s;
    for (std::size_t row = 0; row < t.firers.size(); ++row)
        for (std::size_t column = 0; column < t.targets.size(); ++column) {
            one.hf = float(t.firers[row]), one.ht = float(t.targets[column]);
            const los::Decision d = los::decide(one);
            const los::LevelCell want{d.blocked, !d.blocked && d.seen, d.blind.count};
            QCOMPARE(t.at(row, column), want);
            QCOMPARE(t.marked(row, column), t.firerRow == row && t.targetColumn == column);
        }

    // The text: title, header, a line a firer level, the lowest levels, the
    // legend, the link; in ASCII but for what was typed.
    const QStringList lines = QString::fromStdString(los::text(t, "L")).split('\n');
    QCOMPARE(lines.size(), int(t.firers.size()) + 5);
    QCOMPARE(lines.last(), "L");
    QStringList header{"Firer"};
    for (const std::int32_t level : t.targets)
        header << QString::number(level);
    QCOMPARE(lines[1], header.join('\t'));
    QStringList words;
    for (std::size_t row = 0; row < t.firers.size(); ++row) {
        const QStringList cells = lines[int(row) + 2].split('\t');
        QCOMPARE(cells.first(), QString::number(t.firers[row]));
        words << cells.mid(1);
    }
    for (std::size_t i = 0; i < t.cells.size(); ++i)
        QCOMPARE(words[int(i)],
                 QString::fromStdString(los::words(t.cells[i])) +
                     (t.marked(i / t.targets.size(), i % t.targets.size()) ? "*" : ""));

    // The image: inside its box, every cell in its colour with its words,
    // and as SVG a document that parses with every text in it.
    const platform::Picture p = los::image(t);
    QVERIFY2(!picture_checks::fault(p), picture_checks::fault(p));
    std::size_t green = 0, shownGreen = 0;
    for (const los::LevelCell &cell : t.cells)
        green += !cell.blocked && cell.seen;
    for (const platform::Shape &shape : p.shapes)
        shownGreen += shape.kind == platform::Shape::Kind::Rectangle && shape.fill == los::green;
    QCOMPARE(shownGreen, green);
    const QStringList texts = textsOf(p);
    for (const QString &w : words)
        QVERIFY(texts.contains(w));
    const ReadSvg read = readSvg(platform::svg(p));
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QCOMPARE(read.texts, texts);
}

// The worked example's table as a player pastes it.
void tst_LineOfSight::levelsText() {
    const std::string texts[] = {"2", "3", "1", "4", "0"};
    los::Sighting s{2, 3, 1, 4, 0, false};
    std::copy(std::begin(texts), std::end(texts), s.typed.begin());
    const los::LevelTable t = los::levelTable(s);
    QCOMPARE(t.name, "levels 3,1,4");
    const std::string ok = "\tOK 1\tOK 1\tOK 1\tOK 1\tOK 1\tOK 1\tOK 1";
    QCOMPARE(los::text(t),
             "Which levels see: obstacle height 1, range 3 from the firer and 4 on to the target, "
             "no crest line\n"
             "Firer\t0\t1\t2\t3\t4\t5\t6\t7\t8\n"
             "8\tOK 1\tOK 1" +
                 ok + "\n7\tOK 1\tOK 1" + ok + "\n6\tOK 1\tOK 1" + ok + "\n5\tOK 1\tOK 1" + ok +
                 "\n4\tOK 1\tOK 1" + ok + "\n3\tOK 1\tOK 1" + ok + "\n2\tOK 1*\tOK 1" + ok +
                 "\n1\tBlocked\tOK 1" + ok + "\n0\tBlocked\tBlocked" + ok +
                 "\nLowest firer level that sees the target at 0: 2. Lowest target level that "
                 "the firer at 2 sees: 0.\n"
                 "OK n: the lower end is seen beyond n blind hexes. No n: it is not. Blocked: "
                 "the obstacle blocks the line. Framed, or *: the sighting on the form.");
}

// The scale of a copied or saved raster image, the same on every platform:
// twice at least, the screen's scale rounded up where it is more.
void tst_LineOfSight::rasterScale() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto &[screen, scale] : {std::pair{1.0, 2},
                                        {0.0, 2},
                                        {nan, 2},
                                        {2.0, 2},
                                        {2.25, 3},
                                        {3.0, 3},
                                        {3.0001, 3},
                                        {7.5, 8},
                                        {1e300, 8}})
        QCOMPARE(platform::rasterScale(screen), scale);
}

QTEST_APPLESS_MAIN(tst_LineOfSight)
#include "tst_line_of_sight.moc"
