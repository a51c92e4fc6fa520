// Reading a profile of the largest size accepted (4 MiB) in every shape a
// hostile or broken file may have: time per read with memory at hand, and
// one read in a fresh process (freshMs, and peakMiB, what it adds to the
// resident memory at its peak). Targets: under 0.5 s and under 64 MiB for
// every shape.
#include "core/files/IniFile.h"
#include "core/files/ProfileFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// Repeats `line` ("#" numbered) to just under the size limit.
QByteArray filled(const QByteArray &head, const char *line)
{
    QByteArray text = head;
    for (int i = 0; text.size() < IniFile::MaxFileSize - 64; ++i)
        text += QByteArray(line).replace('#', QByteArray::number(i));
    return text;
}

QByteArray utf16(const QByteArray &text)
{
    const QString s = QString::fromUtf8(text.left(IniFile::MaxFileSize / 2 - 2));
    return QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(s.utf16()), s.size() * 2);
}

QByteArray shape(int n)
{
    const QByteArray head = "[GLOBAL]\nID=1\n[PARAMETER]\n";
    switch (n) {
    case 0: return filled({}, "[S#]\nK=1\n");
    case 1: return filled(head, "K#=1\n");
    case 2: return filled(head, "; comment #\n");
    case 3: return filled(head, "no key here #\n");
    case 4: return head + "BRIG=" + QByteArray(IniFile::MaxFileSize - 64, '7') + "\n";
    case 5: return QByteArray(IniFile::MaxFileSize - 64, '[');
    case 6: return QByteArray(IniFile::MaxFileSize - 64, '\n');
    case 7: return filled(head, "=#\n");
    default: return utf16(filled(head, "K#=1\n"));
    }
}

const char *const ShapeNames[] = {"one-key sections", "keys in one section", "comments", "lines without key",
                                  "one long value", "one bracket line", "empty lines", "empty keys", "UTF-16 keys"};

// The peak resident memory of this process so far, in KiB.
long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    }
    return -1;
}

// One read in a fresh copy of this program, where no earlier read's memory
// is at hand: "<milliseconds> <MiB added at the peak>".
int readOne(const char *path)
{
    const long before = peakKiB();
    QElapsedTimer clock;
    clock.start();
    benchmark::DoNotOptimize(ProfileFile::readProfileFile(QFile::decodeName(path)));
    std::printf("%.1f %.1f\n", clock.nsecsElapsed() / 1e6, (peakKiB() - before) / 1024.0);
    return 0;
}

void readOneFresh(const QString &path, benchmark::State &state)
{
    const QByteArray command = QFile::encodeName(QCoreApplication::applicationFilePath()) + " --read-one '"
        + QFile::encodeName(path) + "'";
    FILE *child = ::popen(command.constData(), "r");
    double ms = -1, mib = -1;
    if (!child || std::fscanf(child, "%lf %lf", &ms, &mib) != 2)
        state.SkipWithError("the fresh read failed");
    if (child)
        ::pclose(child);
    state.counters["freshMs"] = ms;
    state.counters["peakMiB"] = mib;
}

void BM_ReadProfile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.cvn"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(shape(int(state.range(0))));
    f.close();
    state.SetLabel(ShapeNames[state.range(0)]);
    for (auto _ : state)
        benchmark::DoNotOptimize(ProfileFile::readProfileFile(path));
    readOneFresh(path, state);
}
BENCHMARK(BM_ReadProfile)->DenseRange(0, 8)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--read-one") == 0)
        return readOne(argv[2]);
    return runBenchmarks<QCoreApplication>(argc, argv);
}
