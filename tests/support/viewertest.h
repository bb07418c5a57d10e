#pragma once

// What the viewer tests share: the program started on a catalogue and shown, and the user's
// ways to reach a drawing and a marker.
#include "app/forms.h"
#include "app/mainform.h"
#include "support/fixture.h"
#include "viewer/marker.h"

#include <QImage>
#include <QTest>
#include <QTreeWidget>

namespace ViewerTest {

// Starts the program on the catalogue with its main window shown, so that the pointer and
// the scroll box behave as on the screen.
inline std::unique_ptr<Forms> startShown(CatalogFixture& fixture) {
    auto forms = fixture.start();
    if (forms) {
        forms->main().show();
        if (!QTest::qWaitForWindowExposed(&forms->main())) return nullptr;
    }
    return forms;
}

// Makes every node of the tree, as opening each node once does, leaving them closed.
inline void unfoldTree() {
    QTreeWidget* tree = mainForm->Tree;
    for (bool made = true; made;) {
        made = false;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            QTreeWidgetItem* node = *it;
            if (node->childIndicatorPolicy() != QTreeWidgetItem::ShowIndicator) continue;
            node->setExpanded(true);
            node->setExpanded(false);
            made = true;
        }
    }
}

// The tree node of drawing pic of modification modif, its parents expanded.
inline QTreeWidgetItem* treeLeaf(int modif, int pic) {
    QTreeWidget* tree = mainForm->Tree;
    unfoldTree();
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        QTreeWidgetItem* node = *it;
        if (node->data(0, TmainForm::ImageIndexRole).toInt() == pic &&
            node->data(0, TmainForm::SelectedIndexRole).toInt() == modif) {
            for (QTreeWidgetItem* p = node->parent(); p; p = p->parent())
                p->setExpanded(true);
            return node;
        }
    }
    return nullptr;
}

// Clicks a tree node as the user does.
inline void clickNode(QTreeWidgetItem* node) {
    QTreeWidget* tree = mainForm->Tree;
    if (mainForm->panelTree->isHidden()) mainForm->pressPanelButton(mainForm->sbTree);
    tree->scrollToItem(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
}

// Opens a drawing from the tree: the drawing panel comes to the front.
inline void openDrawing(int modif, int pic) {
    QTreeWidgetItem* node = treeLeaf(modif, pic);
    QVERIFY2(node, "no tree node for the drawing");
    clickNode(node);
    QVERIFY(!mainForm->panelPic->isHidden());
}

// The marker in use showing this position number (the first one).
inline TMarker* marker(int position) {
    for (int i = 0; i < mainForm->MarkerCount; ++i)
        if (mainForm->Markers[i]->position() == position) return mainForm->Markers[i];
    return nullptr;
}

inline void click(TMarker* m, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(m, button, {}, QPoint(8, 8));
}

enum class Look { Normal, Hover, Selected, Assembly, Other };

inline Look lookOf(const TMarker* m) {
    if (m->fontColour() == TMarker::Blue && m->background() == TMarker::Green)
        return m->transparent() ? Look::Normal : Look::Hover;
    if (!m->transparent() && m->fontColour() == TMarker::White) {
        if (m->background() == TMarker::Red) return Look::Selected;
        if (m->background() == TMarker::AssemblyBlue) return Look::Assembly;
    }
    return Look::Other;
}

// Looks of the markers in use, "position:look" with n, h, s, a for the four looks.
inline QString looks() {
    QStringList out;
    for (int i = 0; i < mainForm->MarkerCount; ++i) {
        const TMarker* m = mainForm->Markers[i];
        const char* code = "?";
        switch (lookOf(m)) {
        case Look::Normal:
            code = "n";
            break;
        case Look::Hover:
            code = "h";
            break;
        case Look::Selected:
            code = "s";
            break;
        case Look::Assembly:
            code = "a";
            break;
        case Look::Other:
            break;
        }
        out << m->text() + QLatin1Char(':') + QLatin1String(code);
    }
    return out.join(QLatin1Char(' '));
}

// Writes a bitmap of this size and format over a drawing's picture file.
inline bool writePicture(const QString& path, QSize size, const char* format = "BMP",
                         QImage::Format depth = QImage::Format_RGB32) {
    QImage img(size, depth);
    if (depth == QImage::Format_Indexed8) {
        img.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        img.fill(0);
    } else {
        img.fill(Qt::white);
    }
    return img.save(path, format);
}

} // namespace ViewerTest
