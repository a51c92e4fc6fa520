#pragma once
#include <QLabel>
#include <QUrl>

// A label that looks and acts like a web link: in the palette's link colour
// and underlined, lit up under the mouse; a click emits activated() with its
// address.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit LinkLabel(QWidget *parent = nullptr);

    void setUrl(const QUrl &url);
    QUrl url() const { return m_url; }

signals:
    void activated(const QUrl &url);

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setHighlighted(bool on);

    QUrl m_url;
    bool m_highlighted = false;
};
