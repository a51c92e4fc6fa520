// Arbitrary bytes as the settings file: reading the "CONFIG" values and the
// window placement (with its flags) must neither crash nor hang, must give
// values in their ranges, and what was read must come back unchanged after
// being written and read again.
#include "core/files/IniFile.h"
#include "core/files/SettingsFile.h"
#include "core/files/WindowPlacement.h"

#include <QByteArray>
#include <QPoint>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    IniFile ini;
    ini.loadFromData(bytes);

    const ConfigSettings config = SettingsFile::configFrom(ini);
    if (config.tabActive < 0 || config.tabActive >= SettingsFile::PageCount)
        std::abort();
    const WindowPlacement placement = WindowPlacement::readFrom(ini);
    (void)showStateFromCmd(placement.showCmd);
    (void)placementApplies(placement, placement.pixelsPerInch, [](QPoint) { return true; });

    IniFile again;
    if (!SettingsFile::putConfig(again, config) || !placement.writeTo(again))
        std::abort(); // whatever was read can be written
    IniFile reread;
    reread.loadFromData(again.toByteArray());
    if (SettingsFile::configFrom(reread) != config || WindowPlacement::readFrom(reread) != placement)
        std::abort();
    return 0;
}
