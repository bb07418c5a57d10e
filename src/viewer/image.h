#pragma once

#include <QImage>
#include <QWidget>

// The drawing: a bitmap stretched to the widget's own size.
class TImage : public QWidget {
    Q_OBJECT
public:
    TImage(QWidget* parent, const QString& name);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image;
};
