// Which levels see: for the sighting on the form, its two ranges, its
// obstacle and its crest-line box as typed, the rule's verdict for every
// firer level against every target level, as the height charts that players
// make for a board. Each cell is decided by decide() itself, with only the
// two heights changed; the window, its text and its image all show this one
// table.
#pragma once

#include "line_of_sight.h"
#include "platform/picture.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace los {

struct LevelCell {
    bool blocked = false;
    bool seen = false;      // the lower end lies beyond the blind hexes
    std::int32_t blind = 0; // where not blocked
    friend bool operator==(const LevelCell &, const LevelCell &) = default;
};

struct LevelTable {
    // What the table is of, in words: "Obstacle height 1, range 3 from the
    // firer and 4 on to the target, no crest line"; and as a title, "Which
    // levels see: obstacle height 1, ...".
    std::string heading, title;
    // Its file's name without an extension: "levels 3,1,4", or
    // "levels 3,1,4,crest" with the box ticked.
    std::string name;
    // Why there is no table, where there is none: an obstacle whose height is
    // not a number, or is more than maxLevel levels from the ground.
    std::string none;
    // The firers' levels, top to bottom, highest first, as a height chart
    // reads; the targets' levels, left to right, lowest first. The same
    // consecutive run of levels.
    std::vector<std::int32_t> firers, targets;
    // Row by row: cells[row * targets.size() + column].
    std::vector<LevelCell> cells;
    // The sighting's own row and column, where its firer's and target's
    // heights are whole levels in the table.
    std::optional<std::size_t> firerRow, targetColumn;
    // The lowest firer level in the table that sees the typed target, and
    // the lowest target level that the typed firer sees, in words: "Lowest
    // firer level that sees the target at 0: 2." or "...: none in this
    // table."
    std::string lowestFirer, lowestTarget;

    bool empty() const { return cells.empty(); }
    const LevelCell &at(std::size_t row, std::size_t column) const {
        return cells[row * targets.size() + column];
    }
    bool marked(std::size_t row, std::size_t column) const {
        return firerRow == row && targetColumn == column;
    }
};

// The obstacle's height may be this many levels from the ground at most.
inline constexpr float maxLevel = 1000;
// A table has this many levels at least and at most.
inline constexpr std::size_t fewestLevels = 9, mostLevels = 13;

LevelTable levelTable(const Sighting &s);

// A cell in words, the same wherever a cell is read as text: "Blocked";
// "OK 2" where the lower end is seen over 2 blind hexes; "No 2" where not.
std::string words(const LevelCell &cell);
// The same as the table shows it in its text, its image and its window: the
// sighting's own cell with the star that the legend explains.
std::string words(const LevelTable &table, std::size_t row, std::size_t column);
// A cell's colour, its verdict's: green where the lower end is seen, red
// where it is not or the line is blocked.
Color color(const LevelCell &cell);
// A cell in a mark and a number, for a narrow screen: "✓2", "✗2", "■".
std::string brief(const LevelCell &cell);
// What the words mean, in one line.
std::string legend(const LevelTable &table);

// The table as text, for a chat, a forum or a spreadsheet: the title; a
// header line, "Firer" and the target levels; a line for each firer level,
// its level and its cells; the lowest levels that see; the legend; and the
// link where there is one. Cells are separated by tabs, levels written with
// an ASCII minus, the sighting's own cell followed by '*'.
std::string text(const LevelTable &table, std::string_view link = {});

// The table as an image: its title, its levels, its cells in their colours
// with their words, the sighting's own cell framed, and the lines under it.
platform::Picture image(const LevelTable &table);

} // namespace los
