#pragma once

#include <QStyledItemDelegate>
#include <functional>

// Hands the drawing of every cell of a grid to a draw handler of its window.
class TDrawCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using Handler = std::function<void(QPainter*, const QStyleOptionViewItem&, const QModelIndex&)>;
    TDrawCellDelegate(QObject* parent, Handler handler);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    Handler draw;
};
