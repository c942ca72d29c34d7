// What the Qt benchmarks share: position controls that ignore what a panel
// tells them, and a main that runs the benchmarks inside a QApplication on
// the offscreen platform.
#pragma once

#include "PanelRenderer.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace varnet::bench {

struct NoControls : PanelControls {
    void setPrevEnabled(bool) override {}
    void setNextEnabled(bool) override {}
    void setPositionCaption(const std::string&) override {}
    void setProgress(std::int32_t, std::int32_t) override {}
    bool twoColumns() const override { return false; }
    void setPathCaptions(const std::string&, const std::string&, const std::string&) override {}
};

inline int runInApplication(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace varnet::bench
