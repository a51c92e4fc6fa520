#include "app/CommandLine.h"
#include "device/ReportTrace.h"
#include "device/SimBus.h"
#include "device/SimController.h"
#include "device/SystemHidController.h"
#include "device/uComHid.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

#include <clocale>
#include <cstdio>

int main(int argc, char **argv)
{
    // hidapi converts serial numbers with mbstowcs: use the user's encoding.
    std::setlocale(LC_CTYPE, "");

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine cmd = CommandLine::Parse(arguments);
    if (cmd.help) {
        std::fputs(qPrintable(UsageText(QFileInfo(arguments.first()).fileName())), stdout);
        return 0;
    }
    if (cmd.version) {
        std::puts("CORVANE Config Tool v1.1.4");
        return 0;
    }

    QApplication app(argc, argv);
    SimBus bus;
    bus.AddSane(cmd.simulate);
    HidControllerFactory factory = [&]() -> std::unique_ptr<HidController> {
        if (cmd.simulate > 0)
            return std::make_unique<SimController>(&bus);
        return MakeSystemHidController();
    };
    TComHid hid(factory);
    if (cmd.trace)
        hid.SetTrace([](bool sent, const uint8_t *r) { std::fprintf(stderr, "%s\n", qPrintable(ReportTraceLine(sent, r))); });
    hid.SetOnEnum([&] {
        QTextStream out(stdout);
        for (const auto &e : hid.DevList)
            out << e.Text << '\n';
    });
    return 0;
}
