#include "settings/Upprice.h"

#include "app/dialogs.h"
#include "app/mainface.h"
#include "data/datamod.h"
#include "data/dberror.h"
#include "data/sql.h"
#include "platform/modal.h"
#include "settings/pricepreview.h"
#include "settings/pricepreviewpage.h"
#include "settings/pricetable.h"
#include "settings/priceupdate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>

TpriceForm* priceForm = nullptr;

namespace {

constexpr int Left = 153; // the column beside the picture
constexpr int RowStep = 31;

QLabel* label(QWidget* parent, const QString& name, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->move(x, y);
    l->adjustSize();
    return l;
}

QComboBox* list(QWidget* parent, const QString& name, int y) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setGeometry(Left + 130, y, 300, 24);
    return c;
}

// A price as the statements write it: empty is 0, a decimal comma becomes a point.
QString priceText(QString text) {
    if (text.isEmpty()) return QStringLiteral("0");
    const int comma = text.indexOf(QLatin1Char(','));
    if (comma >= 0) text[comma] = QLatin1Char('.');
    return text;
}

// A checked price as the statement's number.
QString number(const QString& price) {
    return QString::number(parsePrice(price).value, 'g', 15);
}

} // namespace

TpriceForm::TpriceForm(TMainFace& face, QWidget* parent) : QDialog(parent), mainWindow(face) {
    setupDialog(this, QStringLiteral("priceForm"), QStringLiteral("Обновление цен"));
    auto* priceImage = new QFrame(this);
    priceImage->setObjectName(QStringLiteral("priceImage"));
    priceImage->setGeometry(20, 20, 113, 350);
    priceImage->setFrameShape(QFrame::Box);
    auto* bLine = new QFrame(this);
    bLine->setObjectName(QStringLiteral("bLine"));
    bLine->setFrameShape(QFrame::HLine);
    bLine->setGeometry(20, 390, 610, 2);
    bbCancel = makeDialogButton(this, QStringLiteral("bbCancel"), QStringLiteral("Отмена"));
    bbCancel->move(630 - 75, 402);
    bbForw = makeDialogButton(this, QStringLiteral("bbForw"), QStringLiteral("Далее >"));
    bbForw->move(bbCancel->x() - 30 - 75, 402);
    bbBack = makeDialogButton(this, QStringLiteral("bbBack"), QStringLiteral("< Назад"));
    bbBack->move(bbForw->x() - 75, 402);

    lbTitle = label(this, QStringLiteral("lbTitle"), QString(), Left, 20);
    QFont bold = lbTitle->font();
    bold.setBold(true);
    lbTitle->setFont(bold);
    lbTitle->resize(460, 20);

    // Screen 0.
    rbAuto = new QRadioButton(QStringLiteral("Автоматический"), this);
    rbAuto->setObjectName(QStringLiteral("rbAuto"));
    rbAuto->setGeometry(Left, 60, 200, 20);
    lbAuto =
        label(this, QStringLiteral("lbAuto"),
              QStringLiteral("Позволяет обновить цены из внешней таблицы c\n\r\n\rновыми ценами")
                  .replace(QStringLiteral("\n\r\n\r"), QStringLiteral("\n")),
              Left + 20, 85);
    rbHandle = new QRadioButton(QStringLiteral("Ручной"), this);
    rbHandle->setObjectName(QStringLiteral("rbHandle"));
    rbHandle->setGeometry(Left, 140, 200, 20);
    lbHandle = label(this, QStringLiteral("lbHandle"),
                     QStringLiteral("Позволяет изменить цену конкретной детали"), Left + 20, 165);
    screenWidgets[0] = {rbAuto, lbAuto, rbHandle, lbHandle};

    // Screen 1.
    eAuto = new QLineEdit(this);
    eAuto->setObjectName(QStringLiteral("eAuto"));
    eAuto->setGeometry(Left, 60, 380, 24);
    bbAuto = makeDialogButton(this, QStringLiteral("bbAuto"), QStringLiteral("Обзор"));
    bbAuto->move(Left + 390, 60);
    cbAppend = new QCheckBox(
        QStringLiteral("Добавить из таблицы цен детали, которые не входят в каталог"), this);
    cbAppend->setObjectName(QStringLiteral("cbAppend"));
    cbAppend->setGeometry(Left, 95, 470, 20);
    lbSFields = label(this, QStringLiteral("lbSFields"),
                      QStringLiteral("Укажите соответствующие поля"), Left, 130);
    cbFieldN = list(this, QStringLiteral("cbFieldN"), 155);
    cbFieldName = list(this, QStringLiteral("cbFieldName"), 186);
    cbFieldPrice = list(this, QStringLiteral("cbFieldPrice"), 217);
    lbUpPrice =
        label(this, QStringLiteral("lbUpPrice"), QStringLiteral("Обновляемая цена"), Left, 252);
    cbUpPrice = list(this, QStringLiteral("cbUpPrice"), 248);
    mapping = {lbSFields, cbFieldN, cbFieldName, cbFieldPrice, lbUpPrice, cbUpPrice};
    int y = 159;
    for (const char* text : {"Номер", "Наименование", "Цена"}) {
        mapping.push_back(label(this, QString(), QString::fromUtf8(text), Left, y));
        y += RowStep;
    }
    screenWidgets[1] = {eAuto, bbAuto, cbAppend};

    // Screen 5.
    lbFile = label(this, QStringLiteral("lbFile"), QString(), Left, 60);
    lbFile->resize(470, 20);
    screenWidgets[5] = {lbFile};
    y = 100;
    using Shown = std::pair<QLabel**, const char*>;
    for (auto [field, text] : {Shown{&lbFieldZN, "Номер"}, Shown{&lbFieldZName, "Наименование"},
                               Shown{&lbFieldZPrice, "Цена"}}) {
        screenWidgets[5].push_back(label(this, QString(), QString::fromUtf8(text), Left, y));
        *field = label(this, QString(), QString(), Left + 130, y);
        (*field)->resize(300, 20);
        screenWidgets[5].push_back(*field);
        y += RowStep;
    }
    lbFieldZN->setObjectName(QStringLiteral("lbFieldZN"));
    lbFieldZName->setObjectName(QStringLiteral("lbFieldZName"));
    lbFieldZPrice->setObjectName(QStringLiteral("lbFieldZPrice"));

    // Screens 2 and 4: the part, then the price rows.
    auto* nCaption = label(this, QString(), QStringLiteral("Номер"), Left, 64);
    auto* nameCaption = label(this, QString(), QStringLiteral("Наименование"), Left, 95);
    eN = new QLineEdit(this);
    eN->setObjectName(QStringLiteral("eN"));
    eN->setGeometry(Left + 130, 60, 348, 24);
    eName = new QLineEdit(this);
    eName->setObjectName(QStringLiteral("eName"));
    eName->setGeometry(Left + 130, 91, 348, 24);
    lbNNew = label(this, QStringLiteral("lbNNew"), QString(), Left + 130, 64);
    lbNNew->resize(348, 20);
    lbNameNew = label(this, QStringLiteral("lbNameNew"), QString(), Left + 130, 95);
    lbNameNew->resize(348, 20);
    sbPrice = new QScrollArea(this);
    sbPrice->setObjectName(QStringLiteral("sbPrice"));
    sbPrice->setGeometry(Left, 126, 490, 200);
    sbPrice->setFrameShape(QFrame::NoFrame);
    sbPrice->setWidget(new QWidget);
    lbError = label(this, QStringLiteral("lbError"), QString(), Left, 335);
    lbError->setFont(bold);
    lbError->setStyleSheet(QStringLiteral("color: maroon"));
    lbError->resize(470, 20);
    screenWidgets[2] = {nCaption, nameCaption, eN, eName, sbPrice};
    screenWidgets[4] = {nCaption, nameCaption, lbNNew, lbNameNew, sbPrice};

    // Screen 6: what the update would change, before anything is written.
    preview = new PricePreviewPage(this);
    preview->setGeometry(Left, 50, 630 - Left, 330);
    screenWidgets[6] = {preview};

    // Screen 3, and the gauge of the automatic update.
    lbResult = label(this, QStringLiteral("lbResult"), QString(), Left, 60);
    lbResult->resize(470, 60);
    lbResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    screenWidgets[3] = {lbResult};
    lbProc =
        label(this, QStringLiteral("lbProc"), QStringLiteral("Обновление таблицы цен"), Left, 300);
    procStr = new QProgressBar(this);
    procStr->setObjectName(QStringLiteral("procStr"));
    procStr->setGeometry(Left, 325, 470, 20);
    procStr->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: navy }"));

    fixAndCentre(this, 650, 402 + 25 + 10);

    connect(bbForw, &QPushButton::clicked, this, [this] { bbForwClick(); });
    connect(bbBack, &QPushButton::clicked, this, [this] { bbBackClick(); });
    connect(bbCancel, &QPushButton::clicked, this, [this] { reject(); });
    connect(bbAuto, &QPushButton::clicked, this, [this] { bbAutoClick(); });
    connect(eAuto, &QLineEdit::textChanged, this, [this] { eAutoChange(); });
    for (QComboBox* c : {cbFieldN, cbFieldName, cbFieldPrice, cbUpPrice})
        connect(c, &QComboBox::activated, this, [this] { listsChosen(); });
    eN->installEventFilter(this);
    eName->installEventFilter(this);
}

TpriceForm::~TpriceForm() = default;

void TpriceForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    rbAuto->setChecked(true);
    Screen = 0;
    NewScreen();
}

void TpriceForm::NewScreen() {
    static const char* titles[] = {"Выберите способ",          "Укажите внешнюю таблицу",
                                   "Укажите деталь и её цену", "Обновление прошло успешно",
                                   "Найдена деталь",           "Внешная таблица",
                                   "Проверьте изменения цен"};
    for (int s = 0; s < 7; ++s)
        for (QWidget* w : screenWidgets[s])
            w->hide();
    for (QWidget* w : mapping)
        w->hide();
    for (QWidget* w : screenWidgets[Screen])
        w->show();
    lbTitle->setText(QString::fromUtf8(titles[Screen]));
    lbError->hide();
    lbProc->hide();
    procStr->hide();
    bbBack->setEnabled(Screen != 0 && Screen != 3);
    bbCancel->setEnabled(Screen != 3);
    bbForw->setText(Screen == 3 || Screen == 6 ? QStringLiteral("Готово")
                                               : QStringLiteral("Далее >"));
    bbForw->setEnabled(true);
    if (Screen == 1) mappingShown(table != nullptr);
    for (QLineEdit* e : priceEdits)
        e->setVisible(Screen == 2);
    for (QLabel* l : priceValues)
        l->setVisible(Screen == 4);
}

void TpriceForm::mappingShown(bool shown) {
    for (QWidget* w : mapping)
        w->setVisible(shown);
    listsChosen();
}

void TpriceForm::listsChosen() {
    bool all = true;
    for (QComboBox* c : {cbFieldN, cbFieldName, cbFieldPrice, cbUpPrice})
        all = all && !c->currentText().isEmpty();
    bbForw->setEnabled(all && table);
}

void TpriceForm::bbBackClick() {
    Screen = 0;
    NewScreen();
}

void TpriceForm::bbAutoClick() {
    const QString path = Modal::openFileName(this, QStringLiteral("Таблица цен"), eAuto->text(),
                                             QStringLiteral("Таблица цен (*.dbf *.DBF)"));
    if (!path.isEmpty()) eAuto->setText(path);
}

void TpriceForm::eAutoChange() {
    table.reset();
    for (QComboBox* c : {cbFieldN, cbFieldName, cbFieldPrice, cbUpPrice})
        c->clear();
    const QString path = eAuto->text();
    if (QFileInfo(path).isFile() && path.contains(QStringLiteral(".dbf"), Qt::CaseInsensitive)) {
        try {
            table = std::make_unique<PriceTable>(path);
        } catch (const FileError&) {
            // Not a table after all: like a wrong path, the mapping stays hidden.
        }
    }
    if (table) {
        const QStringList names = table->columnNames();
        for (QComboBox* c : {cbFieldN, cbFieldName, cbFieldPrice}) {
            c->addItems(names);
            c->setCurrentIndex(-1);
        }
        for (const TDM::PriceColumn& p : DM->priceColumns())
            cbUpPrice->addItem(p.name, p.field);
        cbUpPrice->setCurrentIndex(-1);
    }
    mappingShown(table != nullptr);
}

void TpriceForm::LongLabelDir(QLabel* label, int width) {
    const QFontMetrics fm(label->font());
    QString text = label->text();
    if (fm.horizontalAdvance(text) <= width) return;
    const QChar sep = text.contains(QLatin1Char('\\')) ? QLatin1Char('\\') : QLatin1Char('/');
    // The drive («C:\») or the root («/») stays in front.
    const int head = sep == QLatin1Char('\\') ? 3 : 1;
    const QString first = text.left(head);
    QString rest = text.mid(head);
    while (fm.horizontalAdvance(text) > width) {
        const int cut = rest.indexOf(sep);
        if (cut < 0) break; // only the file name is left: it is shown whole
        rest = rest.mid(cut + 1);
        text = first + QStringLiteral("...") + sep + rest;
    }
    label->setText(text);
}

void TpriceForm::buildPriceRows() {
    for (QWidget* w : sbPrice->widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        delete w;
    priceCaptions.clear();
    priceEdits.clear();
    priceValues.clear();
    QWidget* box = sbPrice->widget();
    int y = 0;
    for (const TDM::PriceColumn& p : DM->priceColumns()) {
        QLabel* caption = label(box, QString(), p.name, 0, y + 4);
        caption->setToolTip(p.field);
        auto* edit = new QLineEdit(box);
        edit->setGeometry(130, y, 348, 24);
        edit->setFrame(false);
        QLabel* value = label(box, QString(), QString(), 130, y + 4);
        value->resize(348, 20);
        priceCaptions.push_back(caption);
        priceEdits.push_back(edit);
        priceValues.push_back(value);
        y += RowStep;
    }
    box->resize(480, y);
}

void TpriceForm::bbForwClick() {
    switch (Screen) {
    case 0:
        if (rbAuto->isChecked()) {
            eAuto->clear();
            cbAppend->setChecked(false);
            Screen = 1;
        } else {
            buildPriceRows();
            Screen = 2;
        }
        break;
    case 1:
        lbFile->setText(eAuto->text());
        LongLabelDir(lbFile, procStr->width());
        lbFieldZN->setText(cbFieldN->currentText());
        lbFieldZName->setText(cbFieldName->currentText());
        lbFieldZPrice->setText(cbFieldPrice->currentText());
        Screen = 5;
        break;
    case 5:
        showPreview();
        return;
    case 6:
        autoUpdate();
        return;
    case 2:
        findPart();
        return;
    case 4:
        handUpdate();
        return;
    case 3:
        accept();
        return;
    }
    NewScreen();
}

PriceUpdate::Mapping TpriceForm::chosenMapping() const {
    PriceUpdate::Mapping m;
    m.number = table->columnIndex(lbFieldZN->text());
    m.name = table->columnIndex(lbFieldZName->text());
    m.price = table->columnIndex(lbFieldZPrice->text());
    m.field = cbUpPrice->currentData().toString();
    m.append = cbAppend->isChecked();
    return m;
}

void TpriceForm::showPreview() {
    preview->setPreview(PricePreview::compute(*DM, *table, chosenMapping()));
    Screen = 6;
    NewScreen();
}

void TpriceForm::autoUpdate() {
    const PriceUpdate::Mapping m = chosenMapping();
    // The gauge stands where the preview's tables were.
    preview->hide();
    procStr->setRange(0, table->rowCount());
    procStr->setValue(0);
    procStr->show();
    lbProc->show();
    // The window repaints while the rows go in, a few times a second.
    QElapsedTimer shown;
    shown.start();
    QCoreApplication::processEvents();
    struct Hide {
        TpriceForm* f;
        ~Hide() {
            f->procStr->hide();
            f->lbProc->hide();
            // A failed update leaves the wizard on the preview.
            f->preview->setVisible(f->Screen == 6);
        }
    } hide{this};
    const PriceUpdate::Counts c = PriceUpdate::run(*DM, *table, m, [&](int done) {
        if (shown.elapsed() < 50 && done < procStr->maximum()) return;
        procStr->setValue(done);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        shown.restart();
    });
    lbResult->setText(
        QStringLiteral("Обновлено строк: %1\nДобавлено строк: %2\nПропущено строк: %3")
            .arg(c.updated)
            .arg(c.added)
            .arg(c.skipped) +
        (m.append ? QStringLiteral("\nДобавлено деталей в каталог: %1").arg(c.parts) : QString()));
    Screen = 3;
    NewScreen();
}

bool TpriceForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease && (watched == eN || watched == eName)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            bbForwClick();
        else if (key != Qt::Key_Backspace && key != Qt::Key_Delete)
            complete(watched == eName);
    }
    return QDialog::eventFilter(watched, event);
}

void TpriceForm::complete(bool byName) {
    lbError->hide();
    QLineEdit* edit = byName ? eName : eN;
    const QString typed = edit->text().left(edit->selectionStart() >= 0 ? edit->selectionStart()
                                                                        : edit->cursorPosition());
    TQuery& q = DM->QPrice;
    q.setText({QStringLiteral("select * from forFind"),
               QStringLiteral("where (N like %1) and (Name like %2)")
                   .arg(Sql::quote(eN->text() + QLatin1Char('%')),
                        Sql::quote(eName->text() + QLatin1Char('%'))),
               byName ? QStringLiteral("order by Name") : QStringLiteral("order by N")});
    q.open();
    if (!q.isEmpty()) {
        const QString found = q.asString(byName ? QStringLiteral("Name") : QStringLiteral("N"));
        edit->setText(found);
        edit->setSelection(found.size(), typed.size() - found.size());
    }
    q.close();
}

void TpriceForm::findPart() {
    bool priced = false;
    for (QLineEdit* e : priceEdits)
        priced = priced || !e->text().isEmpty();
    // A price alone names no part: every part would match.
    if ((eN->text().isEmpty() && eName->text().isEmpty()) ||
        ((eN->text().isEmpty() || eName->text().isEmpty()) && !priced)) {
        lbError->setText(QStringLiteral("Недостаточно информации"));
        lbError->show();
        return;
    }
    auto pattern = [](const QString& t) { return t.isEmpty() ? QStringLiteral("%") : t; };
    TQuery& q = DM->QPrice;
    q.setText({QStringLiteral("select * from forFind"),
               QStringLiteral("where (N like %1) and (Name like %2)")
                   .arg(Sql::quote(pattern(eN->text())), Sql::quote(pattern(eName->text()))),
               QStringLiteral("order by N")});
    q.open();
    if (q.isEmpty()) {
        q.close();
        lbError->setText(QStringLiteral("Деталь не найдена"));
        lbError->show();
        return;
    }
    lbNNew->setText(q.asString(QStringLiteral("N")));
    lbNameNew->setText(q.asString(QStringLiteral("Name")));
    for (QLineEdit* e : priceEdits) {
        if (!e->text().isEmpty() && !parsePrice(e->text()).ok) {
            q.close();
            lbError->setText(QStringLiteral("Цена \"%1\" не является числом").arg(e->text()));
            lbError->show();
            return;
        }
    }
    for (size_t i = 0; i < priceEdits.size(); ++i) {
        const QString field = priceCaptions[i]->toolTip();
        const QString typed = priceEdits[i]->text();
        priceValues[i]->setText(priceText(
            !typed.isEmpty() ? typed : (q.hasField(field) ? q.asString(field) : QString())));
    }
    q.close();
    Screen = 4;
    NewScreen();
}

void TpriceForm::handUpdate() {
    TQuery& q = DM->QPrice;
    const QString n = Sql::quote(lbNNew->text());
    q.setText({QStringLiteral("select ID_P from Price where ID_P=%1").arg(n)});
    q.open();
    const bool exists = !q.isEmpty();
    q.close();
    // A part with no Price row gets one, so the prices typed are not lost.
    if (exists) {
        QString set = QStringLiteral("set Name_P=%1").arg(Sql::quote(lbNameNew->text()));
        for (size_t i = 0; i < priceValues.size(); ++i)
            set += QStringLiteral(", [%1]=%2")
                       .arg(priceCaptions[i]->toolTip(), number(priceValues[i]->text()));
        q.setText({QStringLiteral("update Price"), set, QStringLiteral("where ID_P=%1").arg(n)});
    } else {
        QString fields = QStringLiteral("ID_P,Name_P");
        QString values = n + QLatin1Char(',') + Sql::quote(lbNameNew->text());
        for (size_t i = 0; i < priceValues.size(); ++i) {
            fields += QStringLiteral(",[%1]").arg(priceCaptions[i]->toolTip());
            values += QLatin1Char(',') + number(priceValues[i]->text());
        }
        q.setText({QStringLiteral("insert into Price(%1)").arg(fields),
                   QStringLiteral("values(%1)").arg(values)});
    }
    q.execSQL();
    lbResult->clear();
    Screen = 3;
    NewScreen();
}
