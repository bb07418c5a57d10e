#pragma once

#include <QColor>
#include <QLabel>

// A position marker: a 16 x 16 label with the position number, laid over the drawing. Its ring
// pointer (Tag) joins the markers of one part shown at consecutive places.
class TMarker : public QLabel {
    Q_OBJECT
public:
    explicit TMarker(QWidget* parent);

    int Tag = 0;

    // The looks of a marker: transparent shows only the number over the drawing.
    void setLook(bool transparent, const QColor& background, const QColor& font);
    bool transparent() const { return isTransparent; }
    QColor background() const { return back; }
    QColor fontColour() const { return fore; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool isTransparent = true;
    QColor back{0, 255, 0};
    QColor fore{0, 0, 255};
};
