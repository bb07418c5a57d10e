#include "viewer/drawcell.h"

TDrawCellDelegate::TDrawCellDelegate(QObject* parent, Handler handler)
    : QStyledItemDelegate(parent), draw(std::move(handler)) {}

void TDrawCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    draw(painter, opt, index);
}
