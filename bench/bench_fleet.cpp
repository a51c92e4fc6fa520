// Applying one profile to N simulated controllers at once (--all) against
// applying it to one. Each controller runs on its own exchange sequence, so
// the protocol waits overlap: the time for 8 should stay within 1.3 times
// the time for 1. Compare the two rows' real times.
#include "cli/CliRun.h"
#include "core/files/ProfileFile.h"
#include "device/SimBus.h"
#include "device/SimUnit.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

namespace {

void BM_LoadProfileOnEvery(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("stage.cvn"));
    SimBus bus;
    bus.AddSane(int(state.range(0)));
    QFile f(profile);
    f.open(QIODevice::WriteOnly);
    f.write("[GLOBAL]\nID=" + ProfileFile::formatValue(bus.Units().first()->Firmware().Model().Bios.SysId)
            + "\n[PARAMETER]\nBRIG=150\nSTUP=-16777216\n");
    f.close();
    QString out, err;
    bool flip = false;
    for (auto _ : state) {
        // Alternate the profile's effect so every run writes.
        for (SimUnit *u : bus.Units())
            u->Firmware().SetParam("BRIG", flip ? 150 : 100);
        flip = !flip;
        QTextStream o(&out), e(&err);
        const int code = RunCli({QStringLiteral("corvane-cli"), QStringLiteral("--all"), QStringLiteral("load-profile"),
                                 profile},
                                o, e, &bus);
        if (code != 0)
            state.SkipWithError("load-profile failed");
        out.clear();
        err.clear();
    }
}
BENCHMARK(BM_LoadProfileOnEvery)->Arg(1)->Arg(8)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QCoreApplication>(argc, argv);
}
