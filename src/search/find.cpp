#include "search/find.h"

#include "app/dialogs.h"
#include "app/mainface.h"
#include "app/widgets.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"
#include "search/findsql.h"
#include "search/list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfindForm* findForm = nullptr;

namespace {

constexpr int RowLeft = 10;
constexpr int RowWidth = 510;
constexpr int RowHeight = 34;
constexpr int RowGap = 10;
constexpr int InputLeft = 120;
constexpr int InputHeight = 20;

QCheckBox* makeCheck(QWidget* parent, const QString& name) {
    auto* c = new QCheckBox(parent);
    c->setObjectName(name);
    c->adjustSize();
    return c;
}

bool isEnter(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

} // namespace

TfindForm::TfindForm(TMainFace& mainWindow, QWidget* parent)
    : QDialog(parent), mainWindow(mainWindow) {
    setupDialog(this, QStringLiteral("findForm"), QStringLiteral("Параметры поиска"));
    auto bevel = [this](const QString& name) {
        QFrame* f = new QFrame(this);
        f->setObjectName(name);
        f->setFrameShape(QFrame::Panel);
        f->setFrameShadow(QFrame::Raised);
        return f;
    };
    bvN = bevel("bvN");
    bvSE = bevel("bvSE");
    bvName = bevel("bvName");
    bvMOD = bevel("bvMOD");
    bvGroup = bevel("bvGroup");
    bvSTD = bevel("bvSTD");
    LabelN = makeLabel(this, "LabelN", "Номер ");
    LabelSE = makeLabel(this, "LabelSE", "Входит в сб. единицу");
    LabelName = makeLabel(this, "LabelName", "Наименование");
    LabelMOD = makeLabel(this, "LabelMOD", "Модификация");
    LabelGroup = makeLabel(this, "LabelGroup", "Группа");
    LabelSTD = makeLabel(this, "LabelSTD", "Стандартизованные");
    findEditN = makeNamed<QLineEdit>(this, "findEditN");
    findEditSE = makeNamed<QLineEdit>(this, "findEditSE");
    findEditName = makeNamed<QLineEdit>(this, "findEditName");
    findComboBoxMOD = makeNamed<QComboBox>(this, "findComboBoxMOD");
    findComboBox = makeNamed<QComboBox>(this, "findComboBox");
    sN = new TShape(this, "sN");
    sbN = makeFlatButton(this, "sbN", "...");
    sSE = new TShape(this, "sSE");
    sbSE = makeFlatButton(this, "sbSE", "...");
    sName = new TShape(this, "sName");
    sbName = makeFlatButton(this, "sbName", "...");
    findCheckBoxN = makeCheck(this, "findCheckBoxN");
    findCheckBoxSE = makeCheck(this, "findCheckBoxSE");
    findCheckBoxName = makeCheck(this, "findCheckBoxName");
    findCheckBoxMOD = makeCheck(this, "findCheckBoxMOD");
    findCheckBoxGroup = makeCheck(this, "findCheckBoxGroup");
    findCheckBoxSTD = makeCheck(this, "findCheckBoxSTD");
    bbClear = makeDialogButton(this, "bbClear", "Очистить");
    bbOk = makeDialogButton(this, "bbOk", "OK");
    bbCancel = makeDialogButton(this, "bbCancel", "Отмена");
    layoutRows();
    connectControls();
    setModifications(Shared->visibleModifications());
    findComboBox->setCurrentIndex(0);
}

void TfindForm::setModifications(const QStringList& names) {
    findComboBoxMOD->clear();
    findComboBoxMOD->addItem(QString());
    findComboBoxMOD->addItems(names);
    findComboBoxMOD->setCurrentIndex(0);
    findComboBoxMODChange();
}

void TfindForm::layoutRows() {
    QFrame* rows[] = {bvN, bvSE, bvName, bvMOD, bvGroup, bvSTD};
    QLabel* labels[] = {LabelN, LabelSE, LabelName, LabelMOD, LabelGroup, LabelSTD};
    QCheckBox* boxes[] = {findCheckBoxN,   findCheckBoxSE,    findCheckBoxName,
                          findCheckBoxMOD, findCheckBoxGroup, findCheckBoxSTD};
    for (int i = 0; i < 6; ++i) {
        QFrame* row = rows[i];
        row->setGeometry(RowLeft, RowGap + i * (RowHeight + RowGap), RowWidth, RowHeight);
        row->lower();
        labels[i]->move(row->x() + 5, row->y() + 9);
        boxes[i]->move(row->x() + row->width() - 22, row->y() + 9);
    }
    // The list buttons end 5 pixels before the check box; the number edit 5 before them, and
    // every input is as wide as the number edit.
    const int buttonLeft = findCheckBoxN->x() - 5 - InputHeight;
    const int inputLeft = RowLeft + InputLeft;
    const int inputWidth = buttonLeft - 5 - inputLeft;
    QWidget* inputs[] = {findEditN, findEditSE, findEditName, findComboBoxMOD, findComboBox};
    for (int i = 0; i < 5; ++i)
        inputs[i]->setGeometry(inputLeft, rows[i]->y() + 7, inputWidth, InputHeight);
    placeOnShape(sbN, sN, QRect(buttonLeft, bvN->y() + 7, InputHeight, InputHeight));
    placeOnShape(sbSE, sSE, QRect(buttonLeft, bvSE->y() + 7, InputHeight, InputHeight));
    placeOnShape(sbName, sName, QRect(buttonLeft, bvName->y() + 7, InputHeight, InputHeight));

    const int buttonTop = bvSTD->y() + bvSTD->height() + 10;
    const int rowsRight = RowLeft + RowWidth;
    bbCancel->move(rowsRight - bbCancel->width(), buttonTop);
    bbOk->move(bbCancel->x() - 5 - bbOk->width(), buttonTop);
    bbClear->move(RowLeft, buttonTop);
    fixAndCentre(this, 530, buttonTop + bbCancel->height() + 10);
}

void TfindForm::connectControls() {
    using ErrorDisplay::connect;
    // A row takes part as soon as it has a value and drops out when it is emptied.
    const std::pair<QLineEdit*, QCheckBox*> edits[] = {
        {findEditN, findCheckBoxN}, {findEditSE, findCheckBoxSE}, {findEditName, findCheckBoxName}};
    for (const auto& [edit, box] : edits) {
        QCheckBox* b = box;
        connect(edit, &QLineEdit::textChanged, this,
                [b](const QString& text) { b->setChecked(!text.isEmpty()); });
        edit->installEventFilter(this);
    }
    connect(findComboBox, &QComboBox::currentIndexChanged, this,
            [this] { findCheckBoxGroup->setChecked(!findComboBox->currentText().isEmpty()); });
    // Only the user's choice runs the handler; the program calls it itself after a refill.
    connect(findComboBoxMOD, &QComboBox::activated, this, [this] { findComboBoxMODChange(); });
    findComboBox->installEventFilter(this);
    findComboBoxMOD->installEventFilter(this);
    connect(findCheckBoxSTD, &QCheckBox::toggled, this, [this] { findCheckBoxSTDClick(); });
    connect(sbN, &QToolButton::clicked, this, [this] { listInto(findEditN); });
    connect(sbSE, &QToolButton::clicked, this, [this] { listInto(findEditSE); });
    connect(sbName, &QToolButton::clicked, this, [this] { listInto(findEditName); });
    connect(bbClear, &QPushButton::clicked, this, [this] { bbClearClick(); });
    connect(bbOk, &QPushButton::clicked, this, [this] { bbOkClick(); });
    connect(bbCancel, &QPushButton::clicked, this, [this] { reject(); });
}

bool TfindForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease && isEnter(static_cast<QKeyEvent*>(event))) {
        ErrorDisplay::guard([this] { bbOkClick(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfindForm::listInto(QLineEdit* edit) {
    Modal::exec(*listForm);
    if (!listForm->Joined.isEmpty()) edit->setText(listForm->Joined);
}

bool TfindForm::anyRowActive() const {
    const auto edit = [](const QCheckBox* box, const QLineEdit* e) {
        return box->isChecked() && !e->text().isEmpty();
    };
    const auto list = [](const QCheckBox* box, const QComboBox* c) {
        return box->isChecked() && c->currentIndex() >= 0;
    };
    return edit(findCheckBoxN, findEditN) || edit(findCheckBoxSE, findEditSE) ||
           edit(findCheckBoxName, findEditName) || list(findCheckBoxMOD, findComboBoxMOD) ||
           list(findCheckBoxGroup, findComboBox);
}

void TfindForm::bbOkClick() {
    if (!anyRowActive()) {
        accept();
        return;
    }
    FindSql::Criteria c;
    c.modFilter = Shared->modFilter();
    c.standardized = findCheckBoxSTD->isChecked();
    c.nameIndex = DM->Database->nameIndex;
    const auto edit = [](const QCheckBox* box, const QLineEdit* e) -> std::optional<QString> {
        if (box->isChecked() && !e->text().isEmpty()) return e->text();
        return std::nullopt;
    };
    c.number = edit(findCheckBoxN, findEditN);
    c.assembly = edit(findCheckBoxSE, findEditSE);
    c.name = edit(findCheckBoxName, findEditName);
    if (findCheckBoxMOD->isChecked() && findComboBoxMOD->currentIndex() >= 1)
        c.modification = findComboBoxMOD->currentText();
    const int group = findComboBox->currentIndex();
    if (findCheckBoxGroup->isChecked() && group >= 1)
        c.group = FindSql::Group{findComboBox->itemData(group, GroupNumberRole).toString(),
                                 findComboBox->itemData(group, GroupModificationRole).toString()};
    mainWindow.showSearchResult(FindSql::build(c), c.standardized);
    accept();
}

void TfindForm::findComboBoxMODChange() {
    findComboBox->clear();
    findComboBox->addItem(QString());
    const QString modName =
        findComboBoxMOD->currentIndex() >= 0 ? findComboBoxMOD->currentText() : QString();
    const bool all = modName.isEmpty();
    findCheckBoxMOD->setChecked(!all);
    if (all) findCheckBoxGroup->setChecked(false);
    TQuery& q = DM->QGrMOD;
    q.setText(FindSql::groupList(modName));
    q.open();
    for (; !q.eof(); q.next()) {
        // Over every modification the visible ones are offered (the common parts' row, of
        // modification 0, is none of them); each entry keeps its modification and number, so
        // no name is ever parsed back from the entry's text.
        if (all && !Shared->modifVisible(q.asInteger(QStringLiteral("modif")))) continue;
        const QString n = q.asString(QStringLiteral("GroupN"));
        const QString mod = all ? q.asString(QStringLiteral("MODName")) : QString();
        findComboBox->addItem((all ? mod + QStringLiteral(" - ") : QString()) + n +
                              QStringLiteral(": ") + q.asString(QStringLiteral("GroupName")));
        const int entry = findComboBox->count() - 1;
        findComboBox->setItemData(entry, n, GroupNumberRole);
        findComboBox->setItemData(entry, mod, GroupModificationRole);
    }
    q.close();
    findComboBox->setCurrentIndex(-1);
}

void TfindForm::findCheckBoxSTDClick() {
    const bool enabled = !findCheckBoxSTD->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{LabelSE, findEditSE, findCheckBoxSE, sbSE,
                                                      LabelMOD, findComboBoxMOD, findCheckBoxMOD,
                                                      LabelGroup, findComboBox, findCheckBoxGroup})
        w->setEnabled(enabled);
}

void TfindForm::bbClearClick() {
    findEditN->clear();
    findEditSE->clear();
    findEditName->clear();
    findComboBoxMOD->setCurrentIndex(0);
    findComboBoxMODChange();
    if (findCheckBoxSTD->isChecked()) findCheckBoxSTD->setChecked(false);
}
