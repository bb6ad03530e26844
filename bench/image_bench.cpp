// Times what "Copy Picture" and "Save Picture…" make in the Linux program for
// a sighting: its image painted at twice the picture's pixels and encoded as
// PNG, and its SVG. Prints microseconds per image.
#include "los/image.h"
#include "platform/qt/tip.h"
#include "platform/svg.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>

#include <benchmark/benchmark.h>

namespace {

const los::Sighting sightings[] = {{2, 3, 1, 4, 0, false, {"2", "3", "1", "4", "0"}},
                                   {3, 9, 0, 2, 0, true, {"3", "9", "0", "2", "0"}}};

platform::Picture picture(std::size_t i) {
    return los::image(los::decide(sightings[i % std::size(sightings)]));
}

void png(benchmark::State &state) {
    std::size_t i = 0, bytes = 0;
    for (auto _ : state) {
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        QImageWriter(&file, "png").write(platform::qt::raster(picture(i++), platform::imageScale));
        bytes = std::size_t(file.size());
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(png)->Unit(benchmark::kMicrosecond);

// The painting alone, without the encoder.
void paint(benchmark::State &state) {
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::qt::raster(picture(i++), platform::imageScale));
}
BENCHMARK(paint)->Unit(benchmark::kMicrosecond);

void svg(benchmark::State &state) {
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::svg(picture(i++)));
}
BENCHMARK(svg)->Unit(benchmark::kMicrosecond);

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
