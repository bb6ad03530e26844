// Times what "Copy Picture" and "Save Picture…" make in the Linux program for
// a sighting, and for the table of which levels see it: its image painted at
// twice the picture's pixels and encoded as PNG, and its SVG. Prints
// microseconds per image.
#include "los/image.h"
#include "los/levels.h"
#include "platform/qt/menu.h"
#include "platform/qt/tip.h"
#include "platform/svg.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>

#include <benchmark/benchmark.h>

namespace {

// The worked examples (/0, /1), and one whose table of levels has the most
// levels, 13 (/2).
const los::Sighting sightings[] = {{2, 3, 1, 4, 0, false, {"2", "3", "1", "4", "0"}},
                                   {3, 9, 0, 2, 0, true, {"3", "9", "0", "2", "0"}},
                                   {12, 5, 8, 5, 0, false, {"12", "5", "8", "5", "0"}}};

// The sighting's image, or with levels set the table's.
platform::Picture picture(const benchmark::State &state, bool levels) {
    const los::Sighting &s = sightings[std::size_t(state.range(0))];
    return levels ? los::image(los::levelTable(s)) : los::image(los::decide(s));
}

void png(benchmark::State &state, bool levels) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        QImageWriter writer(&file, "png");
        writer.setQuality(platform::qt::pngQuality);
        writer.write(platform::qt::raster(picture(state, levels), platform::imageScale));
        bytes = std::size_t(file.size());
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK_CAPTURE(png, sighting, false)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(png, levels, true)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The painting alone, without the encoder.
void paint(benchmark::State &state, bool levels) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            platform::qt::raster(picture(state, levels), platform::imageScale));
}
BENCHMARK_CAPTURE(paint, sighting, false)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(paint, levels, true)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void svg(benchmark::State &state, bool levels) {
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::svg(picture(state, levels)));
}
BENCHMARK_CAPTURE(svg, sighting, false)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(svg, levels, true)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    // Fonts as the program finds them, with no display needed.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
