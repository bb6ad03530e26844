#include "levels_window.h"

#include "los/levels.h"
#include "los/link.h"
#include "los/working.h"
#include "platform/picture.h"
#include "platform/runtime.h"

namespace {

platform::Table tableOf(const los::LevelTable &levels) {
    platform::Table table;
    table.rowsName = "Firer";
    table.columnsName = "Target";
    for (const std::int32_t level : levels.firers)
        table.rows.push_back(los::number(level));
    for (const std::int32_t level : levels.targets)
        table.columns.push_back(los::number(level));
    table.cells.reserve(levels.cells.size());
    for (std::size_t row = 0; row < levels.firers.size(); ++row)
        for (std::size_t column = 0; column < levels.targets.size(); ++column) {
            const los::LevelCell &cell = levels.at(row, column);
            const bool marked = levels.marked(row, column);
            const std::string words = los::words(cell);
            // Read out in words, the sighting's own cell said to be so.
            table.cells.push_back({los::words(levels, row, column), los::brief(cell),
                                   marked ? words + ", the sighting on the form" : words,
                                   los::color(cell), marked});
        }
    return table;
}

} // namespace

LevelsWindow::LevelsWindow(platform::Frame &form) : window_(form) {
    window_.setTitle("Which Levels See");
    fill(nullptr);
}

void LevelsWindow::fill(const los::Typed *typed) {
    const std::optional<los::Sighting> sighting = typed ? los::read(*typed) : std::nullopt;
    if (!sighting) {
        window_.setContent("", {}, "No sighting on the form: type one and press Calculate.");
        window_.setCopyText("");
        window_.setImage({});
        return;
    }
    const los::LevelTable levels = los::levelTable(*sighting);
    if (levels.empty()) {
        window_.setContent(levels.heading, {}, levels.none);
        window_.setCopyText("");
        window_.setImage({});
        return;
    }
    window_.setContent(levels.heading, tableOf(levels),
                       levels.lowestFirer + '\n' + levels.lowestTarget + '\n' +
                           los::legend(levels));
    window_.setCopyText(los::text(levels, platform::linkTo(los::fragment(*typed, true))));
    // The image is drawn only when a player asks for it, from its own copy
    // of the texts.
    window_.setImage({[kept = *typed] {
                          const std::optional<los::Sighting> s = los::read(kept);
                          return s ? los::image(los::levelTable(*s)) : platform::Picture{};
                      },
                      levels.name});
}
