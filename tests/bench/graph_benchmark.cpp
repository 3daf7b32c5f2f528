// Prints how long the trend graph takes to draw a long recording and how much memory it keeps. Not a
// test: run it by hand (build/dev/tests/graph_benchmark) on the machine the figures are wanted for.
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "ui/controls/graph.h"

namespace {
constexpr int kWidth = 771;
constexpr int kHeight = 499;

// Mean milliseconds of one full redraw, over `rounds` redraws.
double DrawMilliseconds(CGraph& graph, int rounds) {
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        QPainter painter(&picture);
        const CGraph::Rect client{0, 0, kWidth, kHeight};
        CGraph::Rect plot = client;
        graph.Draw(painter, client, plot, false);
    }
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / rounds;
}

double Milliseconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count();
}
}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);

    constexpr int kSamples = 1000000;
    CGraph graph;
    graph.resize(kWidth, kHeight);
    graph.SetTimeAxis(true);
    const double added = Milliseconds([&] {
        for (int i = 0; i < kSamples; ++i) {
            const double t = i * 0.1;
            graph.AddSample(static_cast<float>(t),
                            static_cast<float>(50.0 + 20.0 * std::sin(t / 900.0) + (i % 13) * 0.1));
        }
    });
    graph.SetRange(0.0, (kSamples - 1) * 0.1, 25.0, 75.0);
    std::printf("samples                          %d\n", kSamples);
    std::printf("adding them                      %.1f ms\n", added);

    graph.SetMode(CGraph::kModeLive);
    std::printf("live redraw                      %.2f ms (limit 16)\n", DrawMilliseconds(graph, 50));
    graph.SetMode(CGraph::kModeInteractive);
    std::printf("interactive redraw, all in view  %.2f ms (limit 50)\n", DrawMilliseconds(graph, 20));
    graph.SetViewRange(50000.0, 50060.0, 25.0, 75.0);
    std::printf("interactive redraw, one minute   %.2f ms\n", DrawMilliseconds(graph, 20));

    const auto& raw = graph.Samples().Raw();
    const double perSample = static_cast<double>(sizeof(raw[0]));
    const double buckets = static_cast<double>(sizeof(graph.Samples().Buckets()));
    std::printf("bytes per raw sample             %.0f (limit 16)\n", perSample);
    std::printf("raw array now                    %.1f MB (capacity %zu samples)\n",
                static_cast<double>(raw.capacity()) * perSample / 1e6, raw.capacity());
    // A poll is a Modbus exchange of a few milliseconds and its pauses: at most about 20 a second.
    const double day = 24.0 * 3600.0 * 20.0;
    std::printf(
        "24 hours at 20 polls a second    %.0f samples, at most %.1f MB with the array's spare room "
        "(limit 50)\n",
        day, (2.0 * day * perSample + buckets) / 1e6);
    return 0;
}
