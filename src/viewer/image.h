#pragma once

#include <QDateTime>
#include <QImage>
#include <QWidget>

// Reads a drawing bitmap, whatever its content: BMP of any depth, or PNG and JPEG stored under
// the catalogue's .bmp names, up to an A1 sheet scanned at 600 dpi. Throws FileError naming the
// file when it is missing, unreadable or larger than that. A truncated BMP is returned as far
// as it could be read, and the general error display says once that the file is damaged.
QImage readBitmap(const QString& path);

// The drawing: a bitmap stretched to the widget's own size. It reports the pointer and the
// buttons over it to the viewer (hover, dragging, the popup menu).
class TImage : public QWidget {
    Q_OBJECT
public:
    TImage(QWidget* parent, const QString& name);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return image; }

    // The large bitmap at path. Zooming asks for it at every step; it is decoded again only
    // when another file is asked for or the file has changed since.
    QImage largeBitmap(const QString& path);

Q_SIGNALS:
    void mouseMoved(int x, int y);
    void mousePressed(int x, int y);
    void mouseReleased();
    void popupRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QImage image;
    QString largePath;
    QDateTime largeStamp;
    qint64 largeSize = -1;
    QImage large;
};
