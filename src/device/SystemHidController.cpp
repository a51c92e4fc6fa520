#include "device/SystemHidController.h"

#include "device/hidapi/HidapiController.h"
#include "device/UdevMonitor.h"

std::unique_ptr<HidController> makeSystemHidController()
{
    auto controller = std::make_unique<HidapiController>();
    auto *monitor = new UdevMonitor(controller.get());
    QObject::connect(monitor, &UdevMonitor::changed, controller.get(),
                     [c = controller.get(), monitor] { c->rescan(monitor->takeDeparted()); });
    return controller;
}
