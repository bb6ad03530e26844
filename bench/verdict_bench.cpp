// Times one verdict as "Calculate" computes it: five texts parsed, then the
// rule, which writes out its working. Prints nanoseconds per verdict; and the
// table of which levels see a sighting, with its text, and its image's SVG.
#include "los/image.h"
#include "los/levels.h"
#include "los/line_of_sight.h"
#include "platform/decimal.h"
#include "platform/svg.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

namespace {

using Texts = std::array<std::string_view, 5>;

const Texts inputs[] = {
    {"2", "3", "1", "4", "0"},  {"0", "4", "1", "6", "3"},         {"3", "10", "2", "2", "0"},
    {"1", "5", "3", "5", "2"},  {"2.9", "9.9", "1.5", "2", "0.5"}, {"1.2", "0", "1.5", "0", "1.7"},
    {"3", "-3", "2", "2", "0"}, {"12.5", "17", "8.25", "23", "4"},
};

// The five texts parsed as "Calculate" parses them.
los::Sighting sighting(const Texts &texts, bool crest) {
    los::Sighting s{};
    float *values[] = {&s.hf, &s.ro, &s.ho, &s.rt, &s.ht};
    for (std::size_t k = 0; k < texts.size(); ++k) {
        *values[k] = *platform::parseFloat(texts[k]);
        s.typed[k] = texts[k];
    }
    s.crest = crest;
    return s;
}

void verdict(benchmark::State &state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const Texts &texts = inputs[i++ % std::size(inputs)];
        benchmark::DoNotOptimize(los::judge(sighting(texts, (i & 1) != 0)));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(verdict);

// The image of a sighting and its SVG, made only when a player asks for them.
void imageSvg(benchmark::State &state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const Texts &texts = inputs[i++ % std::size(inputs)];
        benchmark::DoNotOptimize(
            platform::svg(los::image(los::decide(sighting(texts, (i & 1) != 0)))));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(imageSvg);

// Which levels see, as the window shows it and "Copy" copies it: up to 169
// verdicts. The last inputs give tables of 13 levels.
void levels(benchmark::State &state) {
    std::size_t i = 0, cells = 0;
    for (auto _ : state) {
        const Texts &texts = inputs[i++ % std::size(inputs)];
        const los::LevelTable table = los::levelTable(sighting(texts, (i & 1) != 0));
        benchmark::DoNotOptimize(los::text(table));
        cells += table.cells.size();
    }
    state.counters["cells"] = double(cells) / double(state.iterations());
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(levels)->Unit(benchmark::kMicrosecond);

void levelsSvg(benchmark::State &state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const Texts &texts = inputs[i++ % std::size(inputs)];
        benchmark::DoNotOptimize(
            platform::svg(los::image(los::levelTable(sighting(texts, (i & 1) != 0)))));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(levelsSvg)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
