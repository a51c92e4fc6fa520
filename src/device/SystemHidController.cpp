#include "device/SystemHidController.h"

#include "device/hidapi/HidapiController.h"
#include "device/UdevMonitor.h"

std::unique_ptr<HidController> MakeSystemHidController()
{
    auto controller = std::make_unique<HidapiController>();
    auto *monitor = new UdevMonitor(controller.get());
    QObject::connect(monitor, &UdevMonitor::Changed, controller.get(),
                     [c = controller.get(), monitor] { c->Rescan(monitor->TakeDeparted()); });
    return controller;
}
