#include "device/HidController.h"

void HidController::Enumerate()
{
    if (!m_onEnumerate)
        return;
    const QList<HidDevicePtr> devices = presentDevices();
    for (int i = 0; i < devices.size(); ++i) {
        if (!m_onEnumerate(devices[i], i))
            break;
    }
}
