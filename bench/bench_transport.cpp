// Exchange timing against a simulated controller that answers at once.
// Every exchange must wait 2 ms before its first poll; the counter
// "per_exchange_vs_2ms" is the wall time of one exchange over that floor
// (target <= 1.10). CPU time far below wall time shows the waits sleep.
#include "core/protocol/ParamTags.h"
#include "core/protocol/DeviceCrypto.h"
#include "device/SimBus.h"
#include "device/SimController.h"
#include "device/uComHid.h"

#include <QCoreApplication>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

namespace {
struct Rig {
    SimBus bus;
    TComHid hid{[this] { return std::make_unique<SimController>(&bus); }};
    CryptWords crypt{};

    Rig()
    {
        bus.addSane(1);
        hid.SetOnEnum({});
        hid.SetDevice(0);
        crypt = deriveCrypt(bus.units()[0]->firmware().model().cpuInfo.data());
    }
};

void report(benchmark::State &state, int exchangesPerIteration)
{
    state.counters["per_exchange_vs_2ms"] = benchmark::Counter(
        double(state.iterations()) * exchangesPerIteration * 0.002,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_OneExchange(benchmark::State &state)
{
    Rig rig;
    uint8_t buf[64];
    for (auto _ : state) {
        rig.hid.NewOut(0xE5);
        benchmark::DoNotOptimize(rig.hid.HidAction(buf, 64, 100));
    }
    report(state, 1);
}
BENCHMARK(BM_OneExchange)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_TwentyOneReads(benchmark::State &state)
{
    Rig rig;
    const QList<SimParam> params = simFactoryParameters();
    uint8_t buf[64];
    for (auto _ : state) {
        for (const SimParam &p : params) {
            rig.hid.NewOut(0xEC);
            rig.hid.AddOut(TLONG, tagWord(p.tag));
            rig.hid.AddOut(TWORD, rig.crypt[kCryptReadWord]);
            benchmark::DoNotOptimize(rig.hid.HidAction(buf, 64, 100));
        }
    }
    report(state, int(params.size()));
}
BENCHMARK(BM_TwentyOneReads)->UseRealTime()->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QCoreApplication>(argc, argv);
}
