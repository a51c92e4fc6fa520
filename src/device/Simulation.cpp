#include "device/Simulation.h"

#include "device/SimFaultList.h"
#include "device/SimState.h"

Simulation startSimulation(int count, const QString &statePath, const QString &faults)
{
    Simulation sim;
    if (count <= 0) {
        if (!faults.isEmpty())
            sim.error = QStringLiteral("--simulate-faults needs --simulate");
        return sim;
    }
    auto bus = std::make_unique<SimBus>();
    bus->addSane(count);
    if (!faults.isEmpty() && !applySimFaults(*bus, faults, &sim.error))
        return sim;
    sim.state = SimState::attach(*bus, statePath, &sim.warning);
    sim.bus = std::move(bus);
    return sim;
}
