#pragma once

#include <QColor>
#include <QLabel>

// A position marker: a 16 x 16 label with the position number, laid over the drawing, wider
// for a number that does not fit (three digits and more). Its ring pointer (Tag) joins the
// markers of one part shown at consecutive places.
class TMarker : public QLabel {
    Q_OBJECT
public:
    explicit TMarker(QWidget* parent);

    int Tag = 0;

    // The looks of a marker: transparent shows only the number over the drawing.
    void setLook(bool transparent, const QColor& background, const QColor& font);
    void setTransparent(bool transparent);
    bool transparent() const { return isTransparent; }
    QColor background() const { return back; }
    QColor fontColour() const { return fore; }

    // The caption as a position number.
    int position() const { return text().toInt(); }
    // Sets the caption and widens the marker to fit it (never narrower than 16).
    void setCaption(const QString& caption);
    // How far the marker reaches left of a 16-wide one centred on the same place.
    int overhang() const { return (width() - Side) / 2; }

    static constexpr int Side = 16;

    static const QColor Green;
    static const QColor Blue;
    static const QColor Red;
    static const QColor White;
    static const QColor AssemblyBlue;

Q_SIGNALS:
    void pointerMoved();
    void clicked();
    void popupRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool isTransparent = true;
    QColor back = Green;
    QColor fore = Blue;
};
