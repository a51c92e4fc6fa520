#include "ui/dialogs/uDebug.h"

#include "ui/dialogs/DebugDump.h"
#include "ui/dialogs/DebugFormat.h"
#include "ui_uDebug.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <climits>

namespace {

constexpr QSize ClientSize(590, 531);
constexpr int RuleLength = 60;
constexpr int DumpRowWidth = 72;
constexpr qreal MinPointSize = 6;

QString hex8(quint32 n)
{
    return QStringLiteral("%1").arg(n, 8, 16, QLatin1Char('0')).toUpper();
}

std::span<const uint8_t> bytesOf(const QByteArray &a)
{
    return {reinterpret_cast<const uint8_t *>(a.constData()), size_t(a.size())};
}

// Never more bytes than there are, never a negative count.
int clampCount(int anz, size_t available)
{
    if (anz < 0)
        return 0;
    return size_t(anz) > available ? int(std::min<size_t>(available, INT_MAX)) : anz;
}

} // namespace

TDebug::TDebug(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_ui(new Ui::TDebug)
{
    m_ui->setupUi(this);
    setFixedSize(ClientSize);
    // A diagnostic window must never end the program when it is closed last.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_ui->Memo->viewport()->installEventFilter(this);
}

TDebug::~TDebug()
{
    delete m_ui;
}

void TDebug::F(const QString &form, const QVariantList &args)
{
    append(formatText(form, args));
}

void TDebug::C()
{
    m_ui->Memo->clear();
}

void TDebug::S(const QString &s1)
{
    append(s1);
}

void TDebug::D(qint32 n)
{
    append(QString::number(n));
}

void TDebug::H(quint32 n)
{
    append(hex8(n));
}

void TDebug::B(bool b)
{
    append(b ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

void TDebug::L(QChar c)
{
    append(QString(RuleLength, c));
}

void TDebug::TH(const QString &txt, quint32 n)
{
    append(txt + QLatin1String(": ") + hex8(n));
}

void TDebug::DUMP(const QByteArray &arr, int anz)
{
    DUMP(bytesOf(arr), anz);
}

void TDebug::DUMP(std::span<const uint8_t> arr, int anz)
{
    const int count = clampCount(anz == -1 ? int(std::min<size_t>(arr.size(), INT_MAX)) : anz, arr.size());
    append(QStringLiteral("Anzahl: %1").arg(count));
    appendRows(arr, count);
}

void TDebug::BUFF(std::span<const uint8_t> buf, int anz)
{
    appendRows(buf, clampCount(anz, buf.size()));
}

void TDebug::BUFF(const QByteArray &buf, int anz)
{
    BUFF(bytesOf(buf), anz);
}

QStringList TDebug::lines() const
{
    if (m_ui->Memo->document()->isEmpty())
        return {};
    return m_ui->Memo->toPlainText().split(QLatin1Char('\n'));
}

void TDebug::MemoDblClick()
{
    C();
}

bool TDebug::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->Memo->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        MemoDblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TDebug::showEvent(QShowEvent *event)
{
    // Fitted when first shown: in normal use this window never is.
    if (!m_memoFontFitted) {
        m_memoFontFitted = true;
        fitMemoFont();
    }
    QWidget::showEvent(event);
}

void TDebug::fitMemoFont()
{
    // Fixed pitch, so that the dump columns line up; and small enough that a
    // whole dump row shows, as the memo has no horizontal scroll bar.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const qreal usable = ClientSize.width() - m_ui->Memo->verticalScrollBar()->sizeHint().width()
                         - 2 * m_ui->Memo->frameWidth() - 2 * m_ui->Memo->document()->documentMargin();
    const QString row(DumpRowWidth, QLatin1Char('0'));
    while (font.pointSizeF() > MinPointSize && QFontMetricsF(font).horizontalAdvance(row) > usable)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    m_ui->Memo->setFont(font);
}

void TDebug::append(const QString &line)
{
    m_ui->Memo->appendPlainText(line);
}

void TDebug::appendRows(std::span<const uint8_t> data, int anz)
{
    for (const QString &row : dumpRows(data.data(), anz))
        append(row);
}
