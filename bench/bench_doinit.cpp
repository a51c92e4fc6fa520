// A full load of the editor (DoInit) against a simulated controller that
// answers at once. Each of the 21 reads must wait 2 ms before its first
// poll; the counter "vs_floor" is the wall time of one load over that floor
// of 42 ms (target <= 1.15), so it shows what filling the editor costs.
#include "device/SimBus.h"
#include "device/SimController.h"
#include "session/ControllerSession.h"
#include "ui/editor/ConfigEditor.h"
#include "ui/editor/ConfigEditorForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

constexpr double kFloorSeconds = 21 * 0.002;

// The editor and the main window's controls the load touches.
struct Window : QWidget {
    SimBus bus;
    ControllerSession session;
    ConfigEditorForm *form = new ConfigEditorForm(this);
    EditorFrame frame{new QLabel(this), new QPushButton(this), new QCheckBox(this), new QStatusBar(this)};

    Window()
    {
        auto *lay = new QVBoxLayout(this);
        lay->addWidget(form);
        bus.addSane(1);
        session.start([this] { return std::make_unique<SimController>(&bus); });
        session.select(0);
        DeviceReadouts readouts;
        session.identify(readouts);
    }
};

void BM_DoInit(benchmark::State &state)
{
    Window win;
    ConfigEditor editor(*win.form, win.frame, win.session);
    for (auto _ : state) {
        win.session.select(0); // forgets the values: the next DoInit reads them all
        if (!editor.DoInit().ok())
            state.SkipWithError("load failed");
    }
    state.counters["vs_floor"] = benchmark::Counter(
        double(state.iterations()) * kFloorSeconds,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DoInit)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QApplication>(argc, argv);
}
