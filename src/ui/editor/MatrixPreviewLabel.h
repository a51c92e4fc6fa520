#pragma once
#include <QLabel>

#include <optional>

// The matrix page's wiring preview. It keeps the arrangement it shows, so
// that it can draw it again, sharp and in the panel's colour, when the
// palette or the screen's pixel ratio changes.
class MatrixPreviewLabel : public QLabel
{
    Q_OBJECT

public:
    explicit MatrixPreviewLabel(QWidget *parent = nullptr);

    // Draws the modules; firstLed and ledOrder are the list indexes of the
    // matrix page (-1 or another unknown index leaves that part out).
    void showLayout(int modulesX, int modulesY, int firstLed, int ledOrder);
    // The panel colour alone, as before the first load.
    void showBlank();

protected:
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct Layout {
        int modulesX;
        int modulesY;
        int firstLed;
        int ledOrder;
    };
    void render();
    QColor background() const;

    std::optional<Layout> m_layout;
};
