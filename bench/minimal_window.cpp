// The floor the window program's start-up and memory are measured against:
// a plain Qt Widgets window with a tab widget and spin boxes, built from the
// same Qt as corvane-config. tools/bench.sh starts both the same way.
//
// With CORVANE_BENCH_T0 set to the launch time (seconds since the epoch, as
// bash's EPOCHREALTIME gives it), the first paint is reported on standard
// error as "first paint after <ms> ms"; with CORVANE_BENCH_EXIT=1 the window
// then closes.
#include <QApplication>
#include <QFormLayout>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <ctime>

namespace {

class FirstPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            const double ms = (double(now.tv_sec) + now.tv_nsec / 1e9 - qgetenv("CORVANE_BENCH_T0").toDouble()) * 1e3;
            std::fprintf(stderr, "first paint after %.1f ms\n", ms);
            if (qEnvironmentVariableIntValue("CORVANE_BENCH_EXIT") == 1)
                QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return false;
    }
};

} // namespace

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
    if (qEnvironmentVariableIsSet("CORVANE_BENCH_T0"))
        window.installEventFilter(new FirstPaint(&window));
    window.show();
    return app.exec();
}
