// The floor the window program's start-up and memory are measured against:
// a plain Qt Widgets window with a tab widget and spin boxes, built from the
// same Qt as corvane-config. tools/bench.sh starts both the same way.
//
// With CORVANE_BENCH_T0 set to the launch time (seconds since the epoch, as
// bash's EPOCHREALTIME gives it), the first paint is reported on standard
// error as "first paint after <ms> ms"; with CORVANE_BENCH_EXIT=1 the window
// then closes.
#include "app/StartupReport.h"

#include <QApplication>
#include <QFormLayout>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    auto *tabs = new QTabWidget(&window);
    for (const char *name : {"Stripe", "Timing"}) {
        auto *page = new QWidget;
        auto *form = new QFormLayout(page);
        for (int i = 0; i < 5; ++i) {
            auto *spin = new QSpinBox(page);
            spin->setRange(0, 255);
            spin->setSuffix(QStringLiteral(" µs"));
            form->addRow(QStringLiteral("Value %1").arg(i + 1), spin);
        }
        tabs->addTab(page, QString::fromLatin1(name));
    }
    (new QVBoxLayout(&window))->addWidget(tabs);
    window.setWindowTitle(QStringLiteral("Minimal window"));
    if (qEnvironmentVariableIsSet("CORVANE_BENCH_T0")) {
        new FirstPaintReport(&window, [] {
            if (qEnvironmentVariableIntValue("CORVANE_BENCH_EXIT") == 1)
                QTimer::singleShot(0, qApp, &QApplication::quit);
        });
    }
    window.show();
    return app.exec();
}
