// The tree of drawings: its shape, opening a drawing, state pictures, rebuilding.
#include "app/forms.h"
#include "app/mainform.h"
#include "settings/option.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"
#include "support/viewertest.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

using namespace ViewerTest;

namespace {

// A node as "text", a drawing as "text#number/modification", children in braces.
QString dump(const QTreeWidgetItem* node) {
    QString out = node->text(0);
    const int pic = node->data(0, TmainForm::ImageIndexRole).toInt();
    if (pic > 0)
        out += QString("#%1/%2").arg(pic).arg(node->data(0, TmainForm::SelectedIndexRole).toInt());
    QStringList children;
    for (int i = 0; i < node->childCount(); ++i)
        children << dump(node->child(i));
    if (!children.isEmpty()) out += "{" + children.join("; ") + "}";
    return out;
}

QString dumpTree() {
    unfoldTree();
    QStringList top;
    for (int i = 0; i < mainForm->Tree->topLevelItemCount(); ++i)
        top << dump(mainForm->Tree->topLevelItem(i));
    return top.join("; ");
}

QTreeWidgetItem* nodeNamed(const QString& text) {
    unfoldTree();
    const auto found = mainForm->Tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

int stateOf(const QTreeWidgetItem* node) {
    return node->data(0, TmainForm::StateIndexRole).toInt();
}

} // namespace

class TestTree : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void treeShape_data();
    void treeShape();
    void programStartsWithTheTreeInFront();
    void clickingADrawingOpensIt();
    void expandingSwitchesStatePictures();
    void nodesAreMadeWhenFirstOpened();
    void nodesShowOneExpanderAndEnterActsAsAClick();
    void settingsRebuildTheTreeOnlyAfterAChange();
};

void TestTree::treeShape_data() {
    QTest::addColumn<bool>("standard");
    QTest::addColumn<QStringList>("content");
    QTest::addColumn<QString>("tree");
    QTest::newRow("standard catalogue, hidden modification left out")
        << true << QStringList()
        << "М-315.04{01: Двигатель{Блок цилиндров#1/1}; 18: Тормоза{Тормоз#2/1}; Общий вид#3/1}; "
           "М-315.04-01{01: Двигатель{Блок цилиндров#1/2; Головка блока#2/2}}";
    QTest::newRow("drawing of no group between groups")
        << false
        << QStringList{"insert into Modif values (1, 'М1', True, 3)",
                       "insert into ModGroup values (1, 1, '01', 'Двигатель')",
                       "insert into ModGroup values (1, 2, '00', '')",
                       "insert into ModGroup values (1, 3, '02', 'Сцепление')",
                       "insert into Drawing values (1, 1, 1, 1, 'Блок')",
                       "insert into Drawing values (1, 2, 2, 1, 'Общий вид')",
                       "insert into Drawing values (1, 3, 3, 1, 'Муфта')",
                       "insert into Drawing values (1, 4, 3, 2, 'Диск')"}
        << "М1{01: Двигатель{Блок#1/1}; Общий вид#2/1; 02: Сцепление{Муфта#3/1; Диск#4/1}}";
    QTest::newRow("same group ends one modification and starts the next")
        << false
        << QStringList{"insert into Modif values (1, 'М1', True, 1)",
                       "insert into Modif values (2, 'М2', True, 1)",
                       "insert into ModGroup values (1, 1, '18', 'Тормоза')",
                       "insert into ModGroup values (2, 1, '18', 'Тормоза')",
                       "insert into Drawing values (1, 1, 1, 1, 'Тормоз')",
                       "insert into Drawing values (2, 1, 1, 1, 'Тормоз')"}
        << "М1{18: Тормоза{Тормоз#1/1}}; М2{18: Тормоза{Тормоз#1/2}}";
    QTest::newRow("single row") << false << QStringList() << "";
}

void TestTree::treeShape() {
    QFETCH(bool, standard);
    QFETCH(QStringList, content);
    QFETCH(QString, tree);
    CatalogFixture f(standard);
    for (const QString& sql : content)
        f.exec(sql);
    auto forms = f.start();
    QVERIFY(forms);
    QCOMPARE(dumpTree(), tree);
    for (QTreeWidgetItemIterator it(mainForm->Tree); *it; ++it)
        QCOMPARE(stateOf(*it), (*it)->childCount() > 0 ? 1 : 3);
}

void TestTree::programStartsWithTheTreeInFront() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    QVERIFY(!mainForm->panelTree->isHidden());
    QVERIFY(mainForm->sbTree->isChecked());
    QCOMPARE(mainForm->Tree->currentItem(), mainForm->Tree->topLevelItem(0));
    // Selecting the first node opens nothing.
    QCOMPARE(mainForm->CurrentPic, 0);
    QVERIFY(mainForm->lbPicName->isHidden());
    QCOMPARE(mainForm->Tree->indentation(), 19);
    QCOMPARE(mainForm->Tree->palette().color(QPalette::Base), QColor(255, 255, 231));
    QVERIFY(mainForm->Tree->isHeaderHidden());
}

void TestTree::clickingADrawingOpensIt() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    QTreeWidgetItem* group = nodeNamed("01: Двигатель");
    mainForm->Tree->expandAll();
    clickNode(group);
    QVERIFY(!mainForm->panelTree->isHidden());
    QCOMPARE(mainForm->CurrentPic, 0);

    clickNode(treeLeaf(2, 2));
    QVERIFY(!mainForm->panelPic->isHidden());
    QVERIFY(mainForm->panelTree->isHidden());
    QVERIFY(mainForm->sbPic->isChecked());
    QCOMPARE(mainForm->CurrentModif, 2);
    QCOMPARE(mainForm->CurrentPic, 2);
    QCOMPARE(mainForm->lbPicName->text(), QString("Головка блока"));
    QCOMPARE(mainForm->MarkerCount, 1);
    QVERIFY(mainForm->sbPred->isEnabled());
    QVERIFY(!mainForm->sbNext->isEnabled());
}

void TestTree::expandingSwitchesStatePictures() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    QTreeWidgetItem* modif = mainForm->Tree->topLevelItem(0);
    // The state picture at the node's left is its expander.
    const QRect text = mainForm->Tree->visualItemRect(modif);
    const QPoint button(text.left() + 8, text.center().y());
    QTest::mouseClick(mainForm->Tree->viewport(), Qt::LeftButton, {}, button);
    QVERIFY(modif->isExpanded());
    QCOMPARE(stateOf(modif), 2);
    QCOMPARE(modif->icon(0).cacheKey(), mainForm->ImageListTree[2].cacheKey());
    QTreeWidgetItem* drawing = nodeNamed("Общий вид");
    QCOMPARE(stateOf(drawing), 3);
    QTest::mouseClick(mainForm->Tree->viewport(), Qt::LeftButton, {}, button);
    QVERIFY(!modif->isExpanded());
    QCOMPARE(stateOf(modif), 1);
    QCOMPARE(modif->icon(0).cacheKey(), mainForm->ImageListTree[1].cacheKey());
    QCOMPARE(stateOf(drawing), 3);
    QVERIFY(!mainForm->panelTree->isHidden());
}

// The tree starts with the modifications alone; a node's children are made when the user first
// opens it, and a drawing made then opens as any other.
void TestTree::nodesAreMadeWhenFirstOpened() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    QTreeWidget* tree = mainForm->Tree;
    QCOMPARE(tree->topLevelItemCount(), 2);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        QCOMPARE(tree->topLevelItem(i)->childCount(), 0);
    QTreeWidgetItem* modif = tree->topLevelItem(0);
    clickNode(modif);
    QCOMPARE(modif->childCount(), 3);
    QTreeWidgetItem* group = modif->child(1);
    QCOMPARE(group->text(0), QString("18: Тормоза"));
    QCOMPARE(group->childCount(), 0);
    QCOMPARE(modif->child(2)->text(0), QString("Общий вид"));
    clickNode(group);
    QCOMPARE(group->childCount(), 1);
    // Closing and opening again makes nothing twice.
    clickNode(group);
    clickNode(group);
    QCOMPARE(group->childCount(), 1);
    clickNode(group->child(0));
    QCOMPARE(mainForm->CurrentModif, 1);
    QCOMPARE(mainForm->CurrentPic, 2);
    QCOMPARE(mainForm->lbPicName->text(), QString("Тормоз"));
}

void TestTree::nodesShowOneExpanderAndEnterActsAsAClick() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    QTreeWidget* tree = mainForm->Tree;
    unfoldTree();
    tree->expandAll();
    tree->clearSelection();
    // Left of each node's state picture the tree shows its background only: no arrow.
    const QImage shot = tree->viewport()->grab().toImage();
    const QColor background(255, 255, 231);
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const QRect r = tree->visualItemRect(*it);
        for (int x = 0; x < r.left(); ++x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                QVERIFY2(QColor(shot.pixel(x, y)) == background, qPrintable((*it)->text(0)));
    }

    // Enter on a drawing opens it, as a click does.
    QTreeWidgetItem* leaf = treeLeaf(2, 2);
    tree->setCurrentItem(leaf);
    QTest::keyClick(tree, Qt::Key_Return);
    QVERIFY(!mainForm->panelPic->isHidden());
    QVERIFY(mainForm->sbPic->isChecked());
    QCOMPARE(mainForm->CurrentModif, 2);
    QCOMPARE(mainForm->CurrentPic, 2);

    // On a modification or group node, Enter and a click expand and collapse it.
    mainForm->pressPanelButton(mainForm->sbTree);
    QTreeWidgetItem* group = nodeNamed("18: Тормоза");
    group->setExpanded(false);
    tree->setCurrentItem(group);
    QTest::keyClick(tree, Qt::Key_Return);
    QVERIFY(group->isExpanded());
    QCOMPARE(stateOf(group), 2);
    clickNode(group);
    QVERIFY(!group->isExpanded());
    QCOMPARE(stateOf(group), 1);
    QVERIFY(!mainForm->panelTree->isHidden());
    QCOMPARE(mainForm->CurrentPic, 2);
}

void TestTree::settingsRebuildTheTreeOnlyAfterAChange() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    QTreeWidgetItem* first = mainForm->Tree->topLevelItem(0);
    first->setExpanded(true);
    ModalScript script;
    script.press("fbCancel");
    mainForm->N17->trigger();
    QCOMPARE(mainForm->Tree->topLevelItem(0), first);
    QVERIFY(first->isExpanded());

    script.then([](QDialog& d) {
        auto& options = static_cast<ToptionForm&>(d);
        options.clbMod->item(0)->setCheckState(Qt::Unchecked);
        options.clbMod->item(2)->setCheckState(Qt::Checked);
        options.fbCancel->click();
    });
    mainForm->N17->trigger();
    QCOMPARE(dumpTree(),
             QString("М-315.04-01{01: Двигатель{Блок цилиндров#1/2; Головка блока#2/2}}; "
                     "М-315.04-02{05: Сцепление{Муфта сцепления#1/3}}"));
    QVERIFY(script.unexpected.isEmpty());
}

CATALOG_TEST_MAIN(TestTree)
#include "tst_tree.moc"
