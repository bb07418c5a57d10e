// The tree of drawings: visible modifications, their groups and drawings.
#include "app/mainform.h"

#include "data/datamod.h"
#include "data/shared.h"
#include "platform/errordisplay.h"
#include "viewer/viewersql.h"

#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QTreeWidget>

namespace {

const QColor TreeBackground(255, 255, 231);

// The state pictures, drawn here: a closed and an open box, and a sheet for a drawing.
QIcon statePicture(int kind) {
    QPixmap pix(16, 16);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setPen(QColor(0, 0, 128));
    if (kind == 3) {
        p.setBrush(Qt::white);
        p.drawRect(3, 1, 10, 13);
        for (int y = 4; y <= 11; y += 3)
            p.drawLine(5, y, 11, y);
    } else {
        p.setBrush(QColor(206, 206, 217));
        p.drawRect(2, 2, 11, 11);
        p.drawLine(5, 7, 10, 7);
        if (kind == 1) p.drawLine(7, 5, 7, 10);
    }
    return QIcon(pix);
}

} // namespace

void TmainForm::setupTree() {
    ImageListTree = {QIcon(), statePicture(1), statePicture(2), statePicture(3)};
    Tree->setHeaderHidden(true);
    Tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tree->setIndentation(19);
    Tree->setFrameShape(QFrame::NoFrame);
    Tree->setMouseTracking(true);
    QPalette pal = Tree->palette();
    pal.setColor(QPalette::Base, TreeBackground);
    Tree->setPalette(pal);
    using ErrorDisplay::connect;
    // A click opens a drawing; selecting a node from the program (sbTreeClick) does not.
    connect(Tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node, int) { TreeClick(node); });
    connect(Tree, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { TreeExpanded(node); });
    connect(Tree, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* node) { TreeCollapsed(node); });
}

namespace {

void setState(QTreeWidgetItem* node, int state, const QList<QIcon>& pictures) {
    node->setData(0, TmainForm::StateIndexRole, state);
    node->setIcon(0, pictures.value(state));
}

QTreeWidgetItem* addNode(const QString& text, int state, int picture, int selected,
                         const QList<QIcon>& pictures) {
    auto* node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, TmainForm::ImageIndexRole, picture);
    node->setData(0, TmainForm::SelectedIndexRole, selected);
    setState(node, state, pictures);
    return node;
}

} // namespace

void TmainForm::NewTree() {
    Tree->clear();
    TQuery& q = dm->QTree;
    q.setText(ViewerSql::tree(Shared->modFilter()));
    q.open();
    if (q.isEmpty()) return;
    q.next(); // the first row is never shown

    // The nodes are built detached and handed to the tree at once, which is much cheaper for a
    // catalogue of thousands of drawings than inserting them one by one.
    QList<QTreeWidgetItem*> modNodes;
    QTreeWidgetItem* modNode = nullptr;
    QTreeWidgetItem* groupNode = nullptr;
    QString lastGroupName;
    int count = 1;
    for (; !q.eof(); q.next()) {
        const QString modName = q.asString(QStringLiteral("MODName"));
        const QString groupN = q.asString(QStringLiteral("GroupN"));
        const QString groupName = q.asString(QStringLiteral("GroupName"));
        if (!modNode || modName != modNode->text(0)) {
            modNode = addNode(modName, 1, 0, 0, ImageListTree);
            modNodes << modNode;
            count = 1;
            groupNode = nullptr;
        }
        const bool grouped = groupN != QLatin1String("00");
        if (grouped && (!groupNode || groupName != lastGroupName)) {
            groupNode = addNode(groupN + QStringLiteral(": ") + groupName, 1, 0, 0, ImageListTree);
            modNode->addChild(groupNode);
            lastGroupName = groupName;
        }
        QTreeWidgetItem* leaf = addNode(q.asString(QStringLiteral("PicName")), 3, count,
                                        q.asInteger(QStringLiteral("modif")), ImageListTree);
        (grouped ? groupNode : modNode)->addChild(leaf);
        ++count;
    }
    q.close();
    Tree->addTopLevelItems(modNodes);
}

void TmainForm::TreeClick(QTreeWidgetItem* node) {
    if (!node || node->data(0, ImageIndexRole).toInt() <= 0) return;
    CurrentPic = node->data(0, ImageIndexRole).toInt();
    CurrentModif = node->data(0, SelectedIndexRole).toInt();
    LoadNewImage();
    pressPanelButton(sbPic);
}

void TmainForm::TreeCollapsed(QTreeWidgetItem* node) {
    if (node->data(0, StateIndexRole).toInt() == 2) setState(node, 1, ImageListTree);
}

void TmainForm::TreeExpanded(QTreeWidgetItem* node) {
    if (node->data(0, StateIndexRole).toInt() == 1) setState(node, 2, ImageListTree);
}

void TmainForm::layoutTreePanel() {
    Tree = new QTreeWidget(panelTree);
    Tree->setObjectName(QStringLiteral("Tree"));
    Tree->setGeometry(2, 2, panelTree->width() - 4, panelTree->height() - 4);
    setupTree();
}
