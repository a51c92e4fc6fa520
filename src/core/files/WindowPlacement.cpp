#include "core/files/WindowPlacement.h"

#include "core/files/IniFile.h"

#include <climits>

namespace {

const QByteArray Section = QByteArrayLiteral("Main");

} // namespace

QByteArray formatFourInts(int a, int b, int c, int d)
{
    return QByteArray::number(a) + ',' + QByteArray::number(b) + ',' + QByteArray::number(c) + ','
        + QByteArray::number(d);
}

std::optional<std::array<int, 4>> parseFourInts(QByteArrayView text)
{
    std::array<int, 4> out{};
    const QList<QByteArray> parts = text.toByteArray().split(',');
    if (parts.size() != qsizetype(out.size()))
        return std::nullopt;
    // Filled slot by slot, so no count of fields can write past the four.
    qsizetype next = 0;
    for (int &value : out) {
        const auto n = IniFile::parseInt32(parts.value(next++));
        if (!n)
            return std::nullopt;
        value = *n;
    }
    return out;
}

WindowPlacement WindowPlacement::readFrom(const IniFile &ini)
{
    WindowPlacement p;
    p.showCmd = ini.readInt(Section, "ShowCmd", p.showCmd);
    p.flags = ini.readInt(Section, "Flags", p.flags);
    p.pixelsPerInch = ini.readInt(Section, "PixelsPerInch", p.pixelsPerInch);
    if (const auto v = ini.value(Section, "MinMaxPos")) {
        if (const auto n = parseFourInts(*v)) {
            p.minPos = QPoint((*n)[0], (*n)[1]);
            p.maxPos = QPoint((*n)[2], (*n)[3]);
        }
    }
    if (const auto v = ini.value(Section, "NormPos")) {
        if (const auto n = parseFourInts(*v))
            p.normPos = Rect{(*n)[0], (*n)[1], (*n)[2], (*n)[3]};
    }
    return p;
}

bool WindowPlacement::writeTo(IniFile &ini) const
{
    bool ok = ini.writeInt(Section, "ShowCmd", showCmd);
    ok = ini.writeInt(Section, "Flags", flags) && ok;
    ok = ini.writeInt(Section, "PixelsPerInch", pixelsPerInch) && ok;
    ok = ini.writeRaw(Section, "MinMaxPos", formatFourInts(minPos.x(), minPos.y(), maxPos.x(), maxPos.y()))
        && ok;
    if (normPos) {
        ok = ini.writeRaw(Section, "NormPos",
                          formatFourInts(normPos->left, normPos->top, normPos->right, normPos->bottom))
            && ok;
    } else {
        // An older position must not come back with the new resolution.
        ini.removeKey(Section, "NormPos");
    }
    return ok;
}

bool placementApplies(const WindowPlacement &placement, int currentDpi,
                      const std::function<bool(QPoint)> &onSomeScreen)
{
    if (!placement.normPos || !onSomeScreen)
        return false;
    const WindowPlacement::Rect &r = *placement.normPos;
    if (placement.pixelsPerInch != currentDpi)
        return false;
    // An empty rectangle never comes from a real window; requiring
    // top < bottom also keeps bottom - 1 from overflowing.
    if (r.left >= r.right || r.top >= r.bottom)
        return false;
    return onSomeScreen(QPoint(r.left, r.top)) && onSomeScreen(QPoint(r.right - 1, r.bottom - 1));
}

WindowShowState showStateFromCmd(int showCmd)
{
    switch (showCmd) {
    case 2:
    case 6:
    case 7:
        return WindowShowState::Minimised;
    case 3:
        return WindowShowState::Maximised;
    default: // 1, 5, 9 and anything unknown
        return WindowShowState::Normal;
    }
}

int showCmdFromWindowState(Qt::WindowStates states)
{
    // A minimised window that was maximised before is still minimised now.
    if (states & Qt::WindowMinimized)
        return WindowPlacement::ShowMinimised;
    if (states & Qt::WindowMaximized)
        return WindowPlacement::ShowMaximised;
    return WindowPlacement::ShowNormal;
}
