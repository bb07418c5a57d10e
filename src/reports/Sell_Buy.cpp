#include "reports/Sell_Buy.h"

#include "app/dialogs.h"
#include "app/mainface.h"
#include "app/messbox.h"
#include "app/widgets.h"
#include "data/datamod.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

TformDataToPlant* formDataToPlant = nullptr;

namespace {

const QString ChangesLost =
    QStringLiteral("Произведенные изменения будут потеряны\r\nЗакрыть форму?");

bool askYes(const QString& question) {
    messForm->ShowBox(question, CatalogCaption, TmessForm::kindYesNo);
    return messForm->Answer == TmessForm::mrYes;
}

} // namespace

TformDataToPlant::TformDataToPlant(TMainFace& mainWindow, QWidget* parent)
    : QDialog(parent), face(mainWindow) {
    setupDialog(this, QStringLiteral("formDataToPlant"), QStringLiteral("Данные о предприятиях"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    FormCreate();

    ErrorDisplay::connect(sbAppendNew, &QToolButton::clicked, this, [this] { sbAppendNewClick(); });
    ErrorDisplay::connect(sbDelList, &QToolButton::clicked, this, [this] { sbDelListClick(); });
    ErrorDisplay::connect(BitBtnPlantOK, &QPushButton::clicked, this,
                          [this] { BitBtnPlantOKClick(); });
    ErrorDisplay::connect(cbPlant, &QComboBox::activated, this, [this] { cbPlantClick(); });
    for (const Edit& e : edits)
        connect(e.edit, &QLineEdit::textChanged, this, [this] { PlantChanged = true; });
}

void TformDataToPlant::FormCreate() {
    sbAppendNew = makeFlatButton(this, "sbAppendNew", "Добавить/Изменить",
                                 "Добавить/Изменить данные о предприятии");
    sAppendNew = new TShape(this, "sAppendNew");
    placeOnShape(sbAppendNew, sAppendNew, QRect(10, 10, 150, 22));
    sbDelList =
        makeFlatButton(this, "sbDelList", "Удалить из списка", "Удалить предприятие из списка");
    sDelList = new TShape(this, "sDelList");
    placeOnShape(sbDelList, sDelList, QRect(right(sbAppendNew) + 10, 10, 150, 22));

    gbInfo = makeNamed<QGroupBox>(this, "gbInfo", QStringLiteral("Сведения"));
    cbPlant = makeNamed<QComboBox>(gbInfo, "cbPlant");
    cbPlant->setEditable(true);
    // A typed name is a new enterprise, never a list entry, and is not completed to another.
    cbPlant->setInsertPolicy(QComboBox::NoInsert);
    cbPlant->setCompleter(nullptr);

    struct Row {
        const char* caption;
        const char* name;
        const char* column; // nullptr: the name box or the requisites' line
        QLineEdit** edit;
    };
    const Row rows[] = {{"Предприятие:", "Plant", nullptr, nullptr},
                        {"Примечание:", "ePlantRem", "Rem", &ePlantRem},
                        {"Тип", "ePlantType", "Type", &ePlantType},
                        {"Директор:", "eDirector", "Director", &eDirector},
                        {"Гл. бухгалтер:", "eBuhgalter", "Accountant", &eBuhgalter},
                        {"Реквизиты", "Requisites", nullptr, nullptr},
                        {"Адрес:", "ePlantAdres", "Address", &ePlantAdres},
                        {"Р./сч.:", "ePlantRS", "R_schet_n", &ePlantRS},
                        {"Банк:", "ePlantBank", "R_schet", &ePlantBank},
                        {"ИНН:", "ePlantINN", "INN", &ePlantINN},
                        {"Бик:", "ePlantBik", "BIK", &ePlantBik},
                        {"Кор./сч.:", "ePlantKS", "K_schet", &ePlantKS},
                        {"ОКОНХ:", "ePlantOKONX", "OKONH", &ePlantOKONX},
                        {"ОКПО:", "ePlantOKPO", "OKPO", &ePlantOKPO},
                        {"Телефон:", "ePlantTel", "Tel", &ePlantTel},
                        {"Факс:", "ePlantFax", "Fax", &ePlantFax},
                        {"E-mail:", "ePlantEmail", "Email", &ePlantEmail}};
    int top = 24;
    for (const Row& r : rows) {
        const QString name = QString::fromLatin1(r.name);
        const QString stem = r.edit ? name.mid(1) : name; // ePlantTel: LabelPlantTel
        makeLabel(gbInfo, QStringLiteral("Label") + stem, QString::fromUtf8(r.caption))
            ->move(5, top);
        const QRect field(100, top - 4, 400, 21);
        if (r.edit) {
            *r.edit = makeNamed<QLineEdit>(gbInfo, name);
            (*r.edit)->setGeometry(field);
            edits.push_back({QString::fromLatin1(r.column), *r.edit});
        } else if (name == QLatin1String("Plant")) {
            cbPlant->setGeometry(field);
        } else {
            bvRequisites = makeBevel(gbInfo, "bvRequisites");
            bvRequisites->setGeometry(100, top + 6, 400, 2);
        }
        top += 24;
    }
    // The group reaches 24 below the last caption's top.
    gbInfo->setGeometry(10, bottom(sbAppendNew) + 10, 505, top);

    BitBtnPlantOK = makeDialogButton(this, "BitBtnPlantOK", "Закрыть");
    BitBtnPlantOK->move(gbInfo->x() + (gbInfo->width() - BitBtnPlantOK->width()) / 2,
                        bottom(gbInfo) + 10);
    fixAndCentre(this, gbInfo->width() + 2 * gbInfo->x(), bottom(BitBtnPlantOK) + 10);
}

void TformDataToPlant::CreateComboBoxList(const Plants::ListEdit& edit) {
    const QStringList names = Plants::names(DM->QPlant);
    {
        const QSignalBlocker quiet(cbPlant);
        cbPlant->clear();
        cbPlant->addItems(names);
        cbPlant->setCurrentIndex(-1);
    }
    face.enterprisesChanged(names, edit);
}

int TformDataToPlant::chosenPosition() const {
    const int i = cbPlant->currentIndex();
    return i >= 0 && cbPlant->itemText(i) == cbPlant->currentText() ? i : -1;
}

PlantRecord TformDataToPlant::typed() const {
    PlantRecord r;
    r.name = cbPlant->currentText();
    for (const Edit& e : edits)
        r.fields.insert(e.column, e.edit->text());
    return r;
}

void TformDataToPlant::showName(const QString& name) {
    const QSignalBlocker quiet(cbPlant);
    const int i = cbPlant->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    cbPlant->setCurrentIndex(i);
    if (i < 0) cbPlant->setEditText(name);
}

void TformDataToPlant::cbPlantClick() {
    PlantRecord stored;
    Plants::load(DM->QPlant, cbPlant->currentIndex(), stored);
    const PlantRecord shown = Plants::unpacked(stored);
    for (const Edit& e : edits)
        e.edit->setText(shown.field(e.column));
    PlantChanged = false;
}

void TformDataToPlant::sbAppendNewClick() {
    const QString name = cbPlant->currentText();
    if (name.trimmed().isEmpty() || name == Plants::NewPlantName) {
        messForm->ShowBox(QStringLiteral("Введите название предприятия"), CatalogCaption,
                          TmessForm::kindOk);
        return;
    }
    // A contact that would not come back as typed is refused before anything is asked.
    const PlantRecord stored = Plants::packed(typed());
    TQuery& q = DM->QPlant;
    const int existing = Plants::indexOf(q, name);
    Plants::ListEdit edit{Plants::ListEdit::Saved};
    if (existing == 0) {
        if (askYes(QStringLiteral("Добавить данные о предприятии?"))) {
            PlantChanged = false;
            const int n = cbPlant->count() + 1;
            Plants::add(q, n, stored);
            edit.saved = n - 1;
        }
    } else if (askYes(QStringLiteral("Изменить данные о предприятии?"))) {
        PlantChanged = false;
        Plants::change(q, stored);
        edit.saved = existing - 1;
    }
    CreateComboBoxList(edit);
    showName(name);
}

void TformDataToPlant::sbDelListClick() {
    if (chosenPosition() < Plants::FixedRows) return;
    const QString name = cbPlant->currentText();
    TQuery& q = DM->QPlant;
    if (Plants::indexOf(q, name) == 0) return;
    if (!askYes(QStringLiteral("Удалить данные о предприятии?"))) return;
    PlantChanged = false;
    const int d = Plants::remove(q, *DM->Database, name);
    CreateComboBoxList({Plants::ListEdit::Deleted, -1, d});
    cbPlant->setCurrentIndex(0);
    cbPlantClick();
}

void TformDataToPlant::BitBtnPlantOKClick() {
    if (PlantChanged && !askYes(ChangesLost)) return;
    accept();
}

bool TformDataToPlant::showAt(int position) {
    closedOnNewPlant = false;
    cbPlant->setCurrentIndex(position);
    cbPlantClick();
    Modal::exec(*this);
    return closedOnNewPlant;
}

void TformDataToPlant::FormCloseQuery() {
    closedOnNewPlant = chosenPosition() == Plants::NewPlantPosition;
}

void TformDataToPlant::done(int result) {
    FormCloseQuery();
    QDialog::done(result);
}
