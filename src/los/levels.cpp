#include "levels.h"

#include "lettering.h"
#include "working.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace los {

namespace {

using platform::Shape;
using namespace lettering;

// A whole level, where the height is one; none far beyond any table, so
// that a run of levels measured with it cannot overflow.
std::optional<std::int32_t> wholeLevel(float height) {
    const std::int32_t level = f2i(height);
    if (static_cast<float>(level) != height || std::fabs(height) > 2 * maxLevel)
        return std::nullopt;
    return level;
}

// Whether a firer at one height sees a target at another over the
// sighting's obstacle.
bool sees(const Sighting &s, float hf, float ht) {
    Sighting other = s;
    other.hf = hf, other.ht = ht;
    const Decision d = decide(other);
    return !d.blocked && d.seen;
}

// The run of levels: the obstacle's and the two above it, and the ground
// where the obstacle is near it; the sighting's own heights where they are
// whole and still fit; then grown, above first and then below as well, to
// the fewest levels a chart shows, never under the ground unless the
// obstacle is; and further up, as far as the most levels allow, to the
// first level that sees the sighting's target or is seen by its firer,
// where the run has none yet.
std::pair<std::int32_t, std::int32_t> run(const Sighting &s) {
    const std::int32_t o = f2i(s.ho);
    std::int32_t low = o, high = o + 2;
    if (o >= -8 && o <= 8)
        low = std::min(low, 0), high = std::max(high, 0);
    for (const float height : {s.hf, s.ht}) {
        const std::optional<std::int32_t> level = wholeLevel(height);
        if (level && std::max(high, *level) - std::min(low, *level) + 1 <=
                         static_cast<std::int32_t>(mostLevels))
            low = std::min(low, *level), high = std::max(high, *level);
    }
    for (bool up = true; high - low + 1 < static_cast<std::int32_t>(fewestLevels); up = !up) {
        if (up || !(low > 0 || o < 0))
            ++high;
        else
            --low;
    }
    // Which of the two questions the run answers: a firer level that sees
    // the target, a target level that the firer sees.
    bool firer = false, target = false;
    const auto ask = [&](std::int32_t level) {
        const auto h = static_cast<float>(level);
        bool found = false;
        if (!firer && sees(s, h, s.ht))
            firer = found = true;
        if (!target && sees(s, s.hf, h))
            target = found = true;
        return found;
    };
    for (std::int32_t level = low; level <= high; ++level)
        ask(level);
    for (std::int32_t level = high + 1;
         !(firer && target) && level - low < static_cast<std::int32_t>(mostLevels); ++level)
        if (ask(level))
            high = level;
    return {low, high};
}

// "none in this table", or the level.
std::string lowest(std::optional<std::int32_t> level) {
    return level ? number(*level) : "none in this table";
}

} // namespace

std::string words(const LevelCell &cell) {
    if (cell.blocked)
        return "Blocked";
    return (cell.seen ? "OK " : "No ") + std::to_string(cell.blind);
}

std::string words(const LevelTable &table, std::size_t row, std::size_t column) {
    std::string out = words(table.at(row, column));
    if (table.marked(row, column))
        out += '*';
    return out;
}

Color color(const LevelCell &cell) {
    return cell.seen ? green : red;
}

std::string brief(const LevelCell &cell) {
    if (cell.blocked)
        return "\u25a0";
    return (cell.seen ? "\u2713" : "\u2717") + std::to_string(cell.blind);
}

std::string legend(const LevelTable &table) {
    std::string line = "OK n: the lower end is seen beyond n blind hexes. No n: it is not. "
                       "Blocked: the obstacle blocks the line.";
    if (table.firerRow && table.targetColumn)
        line += " Framed, or *: the sighting on the form.";
    return line;
}

LevelTable levelTable(const Sighting &s) {
    LevelTable t;
    const std::string ro = quoted(s.typed[field::ro], s.ro), ho = quoted(s.typed[field::ho], s.ho),
                      rt = quoted(s.typed[field::rt], s.rt);
    const std::string of = "bstacle height " + ho + ", range " + ro + " from the firer and " + rt +
                           " on to the target, " +
                           (s.crest ? "a non-Cliff Crest Line" : "no crest line");
    t.heading = 'O' + of;
    t.title = "Which levels see: o" + of;
    t.name = "levels " + quotedAscii(s.typed[field::ro], s.ro) + ',' +
             quotedAscii(s.typed[field::ho], s.ho) + ',' + quotedAscii(s.typed[field::rt], s.rt) +
             (s.crest ? ",crest" : "");
    if (!(std::fabs(s.ho) <= maxLevel)) {
        t.none = "No table: the obstacle's height, " + ho +
                 (std::isnan(s.ho) ? ", is not a number."
                                   : ", is more than 1,000 levels from the ground.");
        return t;
    }
    const auto [low, high] = run(s);
    for (std::int32_t level = high; level >= low; --level)
        t.firers.push_back(level);
    for (std::int32_t level = low; level <= high; ++level)
        t.targets.push_back(level);

    // Each cell is the form's own verdict for the two heights.
    Sighting cell = s;
    cell.typed = {};
    t.cells.reserve(t.firers.size() * t.targets.size());
    for (const std::int32_t firer : t.firers)
        for (const std::int32_t target : t.targets) {
            cell.hf = static_cast<float>(firer);
            cell.ht = static_cast<float>(target);
            const Decision d = decide(cell);
            t.cells.push_back({d.blocked, !d.blocked && d.seen, d.blind.count});
        }
    const auto place = [](const std::vector<std::int32_t> &levels,
                          float height) -> std::optional<std::size_t> {
        const std::optional<std::int32_t> level = wholeLevel(height);
        const auto found = level ? std::find(levels.begin(), levels.end(), *level) : levels.end();
        if (found == levels.end())
            return std::nullopt;
        return static_cast<std::size_t>(found - levels.begin());
    };
    t.firerRow = place(t.firers, s.hf);
    t.targetColumn = place(t.targets, s.ht);

    // The lowest levels that see the sighting's own target and firer, at
    // their heights as typed.
    std::optional<std::int32_t> firer, target;
    for (const std::int32_t level : t.targets) {
        if (!firer && sees(s, static_cast<float>(level), s.ht))
            firer = level;
        if (!target && sees(s, s.hf, static_cast<float>(level)))
            target = level;
    }
    const std::string hf = quoted(s.typed[field::hf], s.hf), ht = quoted(s.typed[field::ht], s.ht);
    t.lowestFirer = "Lowest firer level that sees the target at " + ht + ": " + lowest(firer) + '.';
    t.lowestTarget =
        "Lowest target level that the firer at " + hf + " sees: " + lowest(target) + '.';
    return t;
}

std::string text(const LevelTable &table, std::string_view link) {
    std::string out = table.title + '\n';
    if (table.empty()) {
        out += table.none;
    } else {
        out += "Firer";
        for (const std::int32_t level : table.targets)
            out += '\t' + std::to_string(level);
        for (std::size_t row = 0; row < table.firers.size(); ++row) {
            out += '\n' + std::to_string(table.firers[row]);
            for (std::size_t column = 0; column < table.targets.size(); ++column) {
                out += '\t' + words(table, row, column);
            }
        }
        out += '\n' + table.lowestFirer + ' ' + table.lowestTarget + '\n' + legend(table);
    }
    if (!link.empty())
        out += '\n' + std::string(link);
    return out;
}

namespace {

constexpr Color grid{255, 255, 255};

// The image's layout, in its pixels.
constexpr float margin = 8, titleRow = 18, titleSize = 12, row = 14, textSize = 10,
                headerWidth = 40, cellWidth = 48, cellHeight = 18, cellSize = 9.5f;

} // namespace

platform::Picture image(const LevelTable &table) {
    platform::Picture p;
    p.shapes.reserve(table.cells.size() * 2 + table.firers.size() + table.targets.size() + 16);
    addGround(p); // its size once the rest is laid out
    float width = 0, y = margin;
    const auto line = [&](std::string text, float size, Color colour, bool bold = false) {
        const float w = widthOf(text, size);
        addText(p, margin, y, w, row, std::move(text), size, Shape::Align::Left, colour).bold =
            bold;
        width = std::max(width, w);
        y += row;
    };
    // "Which levels see" in bold, then what the table is of.
    {
        const std::string head = "Which levels see";
        const float w = widthOf(head, titleSize);
        addText(p, margin, y, w, titleRow, head, titleSize, Shape::Align::Left, ink).bold = true;
        width = std::max(width, w);
        y += titleRow;
    }
    line(table.heading, textSize, caption);
    y += 6;

    if (table.empty()) {
        line(table.none, textSize, ink);
    } else {
        // "Target" over the columns, "Firer" over the rows' levels.
        const float left = margin + headerWidth,
                    columns = cellWidth * static_cast<float>(table.targets.size());
        addText(p, left, y, columns, row, "Target", textSize, Shape::Align::Center, caption);
        y += row;
        addText(p, margin, y, headerWidth - 6, row, "Firer", textSize, Shape::Align::Right,
                caption);
        for (std::size_t column = 0; column < table.targets.size(); ++column)
            addText(p, left + cellWidth * static_cast<float>(column), y, cellWidth, row,
                    number(table.targets[column]), textSize, Shape::Align::Center, ink)
                .bold = true;
        y += row + 2;
        for (std::size_t r = 0; r < table.firers.size(); ++r, y += cellHeight) {
            addText(p, margin, y, headerWidth - 6, cellHeight, number(table.firers[r]), textSize,
                    Shape::Align::Right, ink)
                .bold = true;
            for (std::size_t column = 0; column < table.targets.size(); ++column) {
                const LevelCell &cell = table.at(r, column);
                const bool marked = table.marked(r, column);
                Shape &box = p.shapes.emplace_back();
                box.filled = box.stroked = true;
                box.fill = color(cell);
                box.ink = marked ? ink : grid;
                box.lineWidth = marked ? 2 : 1;
                box.x = left + cellWidth * static_cast<float>(column), box.y = y;
                box.width = cellWidth, box.height = cellHeight;
                addText(p, box.x, y, cellWidth, cellHeight, words(table, r, column), cellSize,
                        Shape::Align::Center, ink)
                    .bold = marked;
            }
        }
        width = std::max(width, headerWidth + columns);
        y += 6;
        line(table.lowestFirer, textSize, ink);
        line(table.lowestTarget, textSize, ink);
        // The legend a sentence a line.
        const std::string all = legend(table);
        for (std::size_t from = 0; from < all.size();) {
            const std::size_t stop = std::min(all.find(". ", from), all.size() - 1) + 1;
            line(all.substr(from, stop - from), textSize, caption);
            from = stop + 1;
        }
    }
    p.width = static_cast<int>(std::ceil(width + 2 * margin));
    p.height = static_cast<int>(std::ceil(y + margin));
    sizeGround(p);
    return p;
}

} // namespace los
