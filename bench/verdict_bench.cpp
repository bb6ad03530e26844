// Times one verdict as "Calculate" computes it: five texts parsed, then the
// rule, which writes out its working. Prints nanoseconds per verdict.
#include "los/line_of_sight.h"
#include "platform/decimal.h"

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

void verdict(benchmark::State &state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const Texts &texts = inputs[i++ % std::size(inputs)];
        los::Sighting s{};
        float *values[] = {&s.hf, &s.ro, &s.ho, &s.rt, &s.ht};
        for (std::size_t k = 0; k < texts.size(); ++k) {
            *values[k] = *platform::parseFloat(texts[k]);
            s.typed[k] = texts[k];
        }
        s.crest = (i & 1) != 0;
        benchmark::DoNotOptimize(los::judge(s));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(verdict);

} // namespace

BENCHMARK_MAIN();
