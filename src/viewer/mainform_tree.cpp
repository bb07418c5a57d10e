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

// The drawings of one group of a modification as the tree shows them: a drawing's picture
// index is its place in the modification's list, counted from first; the first skip drawings
// are not shown.
struct Segment {
    int modif = 0;
    int indexGr = 0;
    QString groupN;
    QString groupName;
    int first = 1;
    int skip = 0;
};
using Plan = QVector<Segment>;

// A node whose children are made when it is first opened: a catalogue of thousands of drawings
// starts with only its modifications in the tree.
void setPlan(QTreeWidgetItem* node, const Plan& plan) {
    node->setData(0, TmainForm::PlanRole, QVariant::fromValue(plan));
    node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

QList<QTreeWidgetItem*> drawingsOf(const Segment& s, TQuery& q, const QList<QIcon>& pictures) {
    q.setText(ViewerSql::treeDrawings(s.modif, s.indexGr));
    q.open();
    QList<QTreeWidgetItem*> leaves;
    int index = s.first;
    for (int skipped = 0; !q.eof(); q.next()) {
        if (skipped < s.skip) {
            ++skipped;
            continue;
        }
        leaves << addNode(q.asString(QStringLiteral("PicName")), 3, index++, s.modif, pictures);
    }
    q.close();
    return leaves;
}

QList<QTreeWidgetItem*> groupDrawings(const Plan& plan, TQuery& q, const QList<QIcon>& pictures) {
    QList<QTreeWidgetItem*> leaves;
    for (const Segment& s : plan)
        leaves << drawingsOf(s, q, pictures);
    return leaves;
}

// A modification's children: its groups, one node for neighbouring groups of the same name,
// and the drawings of no group ("00") in between.
void fillModification(QTreeWidgetItem* node, const Plan& plan, TQuery& q,
                      const QList<QIcon>& pictures) {
    QList<QTreeWidgetItem*> children;
    QTreeWidgetItem* group = nullptr;
    Plan groupPlan;
    for (const Segment& s : plan) {
        if (s.groupN == QLatin1String("00")) {
            children << drawingsOf(s, q, pictures);
            continue;
        }
        if (!group || s.groupName != groupPlan.last().groupName) {
            if (group) setPlan(group, groupPlan);
            group = addNode(s.groupN + QStringLiteral(": ") + s.groupName, 1, 0, 0, pictures);
            children << group;
            groupPlan.clear();
        }
        groupPlan << s;
    }
    if (group) setPlan(group, groupPlan);
    node->addChildren(children);
}

} // namespace

void TmainForm::NewTree() {
    Tree->clear();
    TQuery& q = dm->QTree;
    q.setText(ViewerSql::treeGroups(Shared->modFilter()));
    q.open();
    QList<QTreeWidgetItem*> modNodes;
    Plan plan;
    int modif = 0;
    int next = 1;
    bool firstDrawing = true; // the first drawing of the whole list is never shown
    for (; !q.eof(); q.next()) {
        const int drawings = q.asInteger(QStringLiteral("Drawings"));
        if (drawings == 0) continue;
        const int skip = firstDrawing ? 1 : 0;
        firstDrawing = false;
        if (drawings == skip) continue;
        const int m = q.asInteger(QStringLiteral("modif"));
        if (modNodes.isEmpty() || m != modif) {
            if (!modNodes.isEmpty()) setPlan(modNodes.last(), plan);
            modNodes << addNode(q.asString(QStringLiteral("MODName")), 1, 0, 0, ImageListTree);
            plan.clear();
            modif = m;
            next = 1;
        }
        Segment s;
        s.modif = m;
        s.indexGr = q.asInteger(QStringLiteral("indexGr"));
        s.groupN = q.asString(QStringLiteral("GroupN"));
        s.groupName = q.asString(QStringLiteral("GroupName"));
        s.first = next;
        s.skip = skip;
        plan << s;
        next += drawings - skip;
    }
    q.close();
    if (!modNodes.isEmpty()) setPlan(modNodes.last(), plan);
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
    const QVariant plan = node->data(0, PlanRole);
    if (plan.isValid()) {
        node->setData(0, PlanRole, QVariant());
        node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
        if (node->parent())
            node->addChildren(groupDrawings(plan.value<Plan>(), dm->QTree, ImageListTree));
        else
            fillModification(node, plan.value<Plan>(), dm->QTree, ImageListTree);
    }
    if (node->data(0, StateIndexRole).toInt() == 1) setState(node, 2, ImageListTree);
}

void TmainForm::layoutTreePanel() {
    Tree = new TreeControl(panelTree, [this](QTreeWidgetItem* node) { TreeClick(node); });
    Tree->setObjectName(QStringLiteral("Tree"));
    Tree->setGeometry(2, 2, panelTree->width() - 4, panelTree->height() - 4);
    setupTree();
}
