#pragma once
#include <QColor>
#include <QWidget>

// A round indicator lamp: shows its on-colour while switched on and its
// off-colour while switched off. It never blinks.
class LedIndicator : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool on READ IsOn WRITE SetOn)
    Q_PROPERTY(QColor onColor READ OnColor WRITE SetOnColor)
    Q_PROPERTY(QColor offColor READ OffColor WRITE SetOffColor)

public:
    static constexpr int Diameter = 17;

    explicit LedIndicator(QWidget *parent = nullptr);

    bool IsOn() const { return m_on; }
    void SetOn(bool on);
    QColor OnColor() const { return m_onColor; }
    void SetOnColor(const QColor &color);
    QColor OffColor() const { return m_offColor; }
    void SetOffColor(const QColor &color);

    // The colour the lamp shows now.
    QColor ShownColor() const { return m_on ? m_onColor : m_offColor; }

    QSize sizeHint() const override { return {Diameter, Diameter}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_on = true;
    QColor m_onColor{0, 255, 0};
    QColor m_offColor{255, 0, 0};
};
