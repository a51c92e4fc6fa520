#pragma once
#include <QColor>
#include <QWidget>

// A round indicator lamp: shows its on-colour while switched on and its
// off-colour while switched off. It never blinks.
class LedIndicator : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool on READ isOn WRITE setOn)
    Q_PROPERTY(QColor onColor READ onColor WRITE setOnColor)
    Q_PROPERTY(QColor offColor READ offColor WRITE setOffColor)

public:
    static constexpr int Diameter = 17;

    explicit LedIndicator(QWidget *parent = nullptr);

    bool isOn() const { return m_on; }
    void setOn(bool on);
    QColor onColor() const { return m_onColor; }
    void setOnColor(const QColor &color);
    QColor offColor() const { return m_offColor; }
    void setOffColor(const QColor &color);

    // The colour the lamp shows now.
    QColor shownColor() const { return m_on ? m_onColor : m_offColor; }

    QSize sizeHint() const override { return {Diameter, Diameter}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_on = true;
    QColor m_onColor{0, 255, 0};
    QColor m_offColor{255, 0, 0};
};
