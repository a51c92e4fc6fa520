#pragma once
#include <QByteArray>
#include <QStringList>
#include <QVariantList>
#include <QWidget>

#include <cstdint>
#include <span>

namespace Ui {
class TDebug;
}

// Diagnostic log window: a read-only memo to which the program appends
// lines. It stays hidden in normal use; lines appended meanwhile are kept.
class TDebug : public QWidget
{
    Q_OBJECT

public:
    explicit TDebug(QWidget *parent = nullptr);
    ~TDebug() override;

    void F(const QString &form, const QVariantList &args);
    template <typename... A>
    void F(const QString &form, const A &...args)
    {
        F(form, QVariantList{toArg(args)...});
    }
    void C();
    void S(const QString &s1);
    void D(qint32 n);
    void H(quint32 n);
    void B(bool b);
    void L(QChar c);
    void TH(const QString &txt, quint32 n);
    // A count line "Anzahl: n", then the dump of the first `anz` bytes; -1
    // dumps the whole array. A count beyond the data is cut to the data,
    // any other negative count dumps nothing.
    void DUMP(const QByteArray &arr, int anz = -1);
    void DUMP(std::span<const uint8_t> arr, int anz = -1);
    // The dump rows only; the same guards as DUMP except that -1 means nothing.
    void BUFF(std::span<const uint8_t> buf, int anz);
    void BUFF(const QByteArray &buf, int anz);

    // The log as lines, oldest first.
    QStringList lines() const;

private slots:
    void MemoDblClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    static QVariant toArg(const char *s) { return QString::fromUtf8(s); }
    template <typename T>
    static QVariant toArg(const T &v)
    {
        return QVariant::fromValue(v);
    }
    void fitMemoFont();
    void append(const QString &line);
    void appendRows(std::span<const uint8_t> data, int anz);

    Ui::TDebug *m_ui;
    bool m_memoFontFitted = false;
};
