// The tree of drawings: visible modifications, their groups and drawings.
#include "app/mainform.h"

#include "data/datamod.h"
#include "data/shared.h"
#include "platform/errordisplay.h"
#include "viewer/viewersql.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>

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

// The tree control: a node's state picture is its only expander (no branch arrows are
// drawn beside it), and Enter acts on the current node as a click does.
class TreeControl : public QTreeWidget {
public:
    TreeControl(QWidget* parent, std::function<void(QTreeWidgetItem*)> onAct)
        : QTreeWidget(parent), act(std::move(onAct)) {}

protected:
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (!enter || !currentItem()) return QTreeWidget::keyPressEvent(event);
        QTreeWidgetItem* node = currentItem();
        ErrorDisplay::guard([&] { act(node); });
    }

private:
    std::function<void(QTreeWidgetItem*)> act;
};

} // namespace

void TmainForm::setupTree() {
    ImageListTree = {QIcon(), statePicture(1), statePicture(2), statePicture(3)};
    Tree->setHeaderHidden(true);
    Tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tree->setIndentation(19);
    Tree->setRootIsDecorated(false);
    // A click toggles a modification or group node; a double click adds nothing to that.
    Tree->setExpandsOnDoubleClick(false);
    Tree->setFrameShape(QFrame::NoFrame);
    Tree->setMouseTracking(true);
    QPalette pal = Tree->palette();
    pal.setColor(QPalette::Base, TreeBackground);
    Tree->setPalette(pal);
    using ErrorDisplay::connect;
    // A click opens a drawing or toggles a node; selecting a node from the program (sbTreeClick)
    // does neither.
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
    if (!node) return;
    if (node->data(0, ImageIndexRole).toInt() <= 0) {
        node->setExpanded(!node->isExpanded());
        return;
    }
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
    Tree = new TreeControl(panelTree, [this](QTreeWidgetItem* node) { TreeClick(node); });
    Tree->setObjectName(QStringLiteral("Tree"));
    Tree->setGeometry(2, 2, panelTree->width() - 4, panelTree->height() - 4);
    setupTree();
}
