#include "search/find.h"

#include "app/mainform.h"
#include "app/widgets.h"
#include "data/datamod.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"
#include "search/findsql.h"
#include "search/list.h"
#include "settings/option.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

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

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    // Enter is taken on its release by the inputs themselves, so no button is the default one.
    b->setAutoDefault(false);
    b->setDefault(false);
    b->resize(75, 25);
    return b;
}

bool isEnter(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

} // namespace

TfindForm::TfindForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("findForm"));
    setWindowTitle(QStringLiteral("Параметры поиска"));
    setFont(windowFont());
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
    bbClear = makeButton(this, "bbClear", "Очистить");
    bbOk = makeButton(this, "bbOk", "OK");
    bbCancel = makeButton(this, "bbCancel", "Отмена");
    layoutRows();
    connectControls();
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
    setFixedSize(530, buttonTop + bbCancel->height() + 10);
    const QRect screen = QApplication::primaryScreen()->geometry();
    move(screen.center() - rect().center());
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
    DM->QFind.clear();

    FindSql::Criteria c;
    c.modFilter = optionForm->ModFilter;
    c.standardized = findCheckBoxSTD->isChecked();
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
    if (findCheckBoxGroup->isChecked() && group >= 1) {
        c.groupEntry = findComboBox->currentText();
        c.groupNumber = GroupNumbers.value(group - 1);
    }
    const FindSql::Statement s = FindSql::build(c);
    SQLstr = s.condition;
    if (c.standardized) {
        DM->QSTD.setText(s.lines);
        DM->QSTD.open();
        mainForm->sbSTDClick();
    } else {
        DM->QFind.setText(s.lines);
        DM->QFind.open();
        searchCatalogue();
    }
    accept();
}

void TfindForm::searchCatalogue() {
    TmainForm& m = *mainForm;
    TQuery& q = DM->QFind;
    const bool found = !q.isEmpty();
    if (found) {
        m.CurN = q.asString(QStringLiteral("N"));
        m.CurName = q.asString(QStringLiteral("Name"));
        m.CurV = q.asString(QStringLiteral("V"));
    }
    m.sbOrder->setEnabled(found);
    m.miOrder->setEnabled(found);
    // Stepping through an empty result would build its statements from no row at all.
    m.sbNextItem->setEnabled(found);
    m.sbPredItem->setEnabled(found);
    if (found) {
        m.sbNextItem->show();
        m.sbPredItem->show();
    }
    showWithShape(m.sbOrderAll, m.sOrderAll, found);
    m.LabelNaid->show();
    m.lbK->setText(QString::number(q.recordCount()));
    m.lbK->adjustSize();
    m.lbK->show();
    m.pressPanelButton(m.sbTable);
}

void TfindForm::findComboBoxMODChange() {
    GroupNumbers.clear();
    findComboBox->clear();
    findComboBox->addItem(QString());
    const QString modName =
        findComboBoxMOD->currentIndex() >= 0 ? findComboBoxMOD->currentText() : QString();
    TQuery& q = DM->QGrMOD;
    q.setText(FindSql::groupList(modName));
    q.open();
    if (!modName.isEmpty()) {
        findCheckBoxMOD->setChecked(true);
        for (; !q.eof(); q.next()) {
            const QString n = q.asString(QStringLiteral("GroupN"));
            findComboBox->addItem(n + QStringLiteral(": ") +
                                  q.asString(QStringLiteral("GroupName")));
            GroupNumbers << n;
        }
    } else {
        findCheckBoxMOD->setChecked(false);
        findCheckBoxGroup->setChecked(false);
        // The first row of the list over all modifications is passed over; the modification
        // positions k then count as the settings dialog's list does.
        q.next();
        QString prefix;
        if (!q.eof()) prefix = q.asString(QStringLiteral("MODName")) + QStringLiteral(" - ");
        int k = 0;
        for (; !q.eof(); q.next()) {
            const QString p = q.asString(QStringLiteral("MODName")) + QStringLiteral(" - ");
            if (p != prefix) {
                prefix = p;
                ++k;
            }
            if (!optionForm->modificationChecked(k)) continue;
            const QString n = q.asString(QStringLiteral("GroupN"));
            findComboBox->addItem(prefix + n + QStringLiteral(": ") +
                                  q.asString(QStringLiteral("GroupName")));
            GroupNumbers << n;
        }
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
