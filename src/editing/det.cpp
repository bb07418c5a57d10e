#include "editing/det.h"

#include "app/dialogs.h"
#include "app/widgets.h"
#include "basket/longlabel.h"
#include "data/datamod.h"
#include "data/sql.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"
#include "search/keyform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>

TdetForm* detForm = nullptr;

namespace {

constexpr int Step = 22;
constexpr int InputShift = 110;

// The wizard's picture: a drawn part on a light field.
QPixmap wizardPicture() {
    QPixmap pm(113, 350);
    pm.fill(QColor(206, 206, 217));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 3));
    p.setBrush(QColor(255, 255, 231));
    p.drawEllipse(QPointF(56, 120), 40, 40);
    p.drawEllipse(QPointF(56, 120), 14, 14);
    p.drawRect(36, 180, 40, 110);
    return pm;
}

// An occurrence entry "<modification> - <assembly>" without its prefix.
QString withoutPrefix(const QString& text) {
    const int dash = text.indexOf(QStringLiteral(" - "));
    return dash < 0 ? text : text.mid(dash + 3);
}

// A number as the confirmation shows it: the first comma a point, empty or a blank "0".
QString confirmedNumber(const QString& text) {
    if (text.isEmpty() || text == QLatin1String(" ")) return QStringLiteral("0");
    QString out = text;
    const int comma = out.indexOf(QLatin1Char(','));
    if (comma >= 0) out[comma] = QLatin1Char('.');
    return out;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = makeDialogButton(parent, name, caption);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TdetForm::TdetForm(QWidget* parent) : QDialog(parent) {
    setupDialog(this, QStringLiteral("detForm"), QStringLiteral("Изменить/Добавить деталь"));
    FormCreate();
}

void TdetForm::FormCreate() {
    detImage = makeNamed<QLabel>(this, QStringLiteral("detImage"));
    detImage->setPixmap(wizardPicture());
    detImage->setGeometry(20, 20, 113, 350);
    bLine = makeNamed<QFrame>(this, QStringLiteral("bLine"));
    bLine->setFrameShape(QFrame::HLine);
    bLine->setFrameShadow(QFrame::Sunken);
    bLine->setGeometry(20, bottom(detImage) + 20, 610, 2);
    bbCancel = makeButton(this, QStringLiteral("bbCancel"), QStringLiteral("Отмена"));
    bbCancel->move(right(bLine) - bbCancel->width(), bLine->y() + 12);
    bbForw = makeButton(this, QStringLiteral("bbForw"), QStringLiteral("Далее >"));
    bbForw->move(bbCancel->x() - 30 - bbForw->width(), bbCancel->y());
    bbBack = makeButton(this, QStringLiteral("bbBack"), QStringLiteral("< Назад"));
    bbBack->move(bbForw->x() - bbBack->width(), bbCancel->y());
    fixAndCentre(this, 650, bottom(bbCancel) + 10);

    const int left = right(detImage) + 20;
    lbTitle = makeNamed<QLabel>(this, QStringLiteral("lbTitle"));
    lbTitle->setGeometry(left, detImage->y(), 400, 17);
    QFont bold = lbTitle->font();
    bold.setBold(true);
    lbTitle->setFont(bold);
    rb1 = makeNamed<QRadioButton>(this, QStringLiteral("rb1"));
    rb1->setGeometry(left, lbTitle->y() + 17, 400, 17);
    rb2 = makeNamed<QRadioButton>(this, QStringLiteral("rb2"));
    rb2->setGeometry(left, rb1->y() + 17, 400, 17);

    const char* names[] = {"LabelN",   "LabelName", "LabelSE",  "LabelKol", "LabelOKP",
                           "LabelMOD", "LabelGr",   "LabelPic", "LabelV"};
    const char* texts[] = {"Номер", "Наименование", "Входит в сб. ед.", "Кол-во на сб. ед.",
                           "ОКП",   "Модификация",  "Группа",           "Рисунок",
                           "Вес"};
    for (int i = 0; i < 9; ++i) {
        auto* l =
            makeNamed<QLabel>(this, QString::fromLatin1(names[i]), QString::fromUtf8(texts[i]));
        l->setGeometry(left, rb2->y() + i * Step, InputShift - 4, 17);
        captions << l;
    }
    eN = makeNamed<QLineEdit>(this, QStringLiteral("eN"));
    eName = makeNamed<QLineEdit>(this, QStringLiteral("eName"));
    cbSE = makeNamed<QComboBox>(this, QStringLiteral("cbSE"));
    cbSE->setEditable(true);
    eKol = makeNamed<QLineEdit>(this, QStringLiteral("eKol"));
    eKol->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), eKol));
    eOKP = makeNamed<QLineEdit>(this, QStringLiteral("eOKP"));
    cbMOD = makeNamed<QComboBox>(this, QStringLiteral("cbMOD"));
    cbMOD->setEditable(true);
    cbGr = makeNamed<QComboBox>(this, QStringLiteral("cbGr"));
    cbPic = makeNamed<QComboBox>(this, QStringLiteral("cbPic"));
    eV = makeNamed<QLineEdit>(this, QStringLiteral("eV"));
    inputs = {eN, eName, cbSE, eKol, eOKP, cbMOD, cbGr, cbPic, eV};
    const char* zNames[] = {"lbZN",   "lbZName", "lbZSE",  "lbZKol", "lbZOKP",
                            "lbZMOD", "lbZGr",   "lbZPic", "lbZV"};
    for (int i = 0; i < 9; ++i) {
        QWidget* w = inputs[i];
        w->setGeometry(left + InputShift, captions[i]->y() - 4, right(bLine) - left - InputShift,
                       21);
        auto* z = makeNamed<QLabel>(this, QString::fromLatin1(zNames[i]));
        z->move(left + InputShift, captions[i]->y());
        confirmation << z;
    }
    lbZN = confirmation[0];
    lbZName = confirmation[1];
    lbZSE = confirmation[2];
    lbZKol = confirmation[3];
    lbZOKP = confirmation[4];
    lbZMOD = confirmation[5];
    lbZGr = confirmation[6];
    lbZPic = confirmation[7];
    lbZV = confirmation[8];

    sbPrice = makeNamed<QScrollArea>(this, QStringLiteral("sbPrice"));
    sbPrice->setFrameShape(QFrame::NoFrame);
    sbPrice->setGeometry(left, captions[8]->y() + 19, right(bLine) - left, 42);
    auto* rows = new QWidget;
    rows->setObjectName(QStringLiteral("sbPriceContent"));
    sbPrice->setWidget(rows);
    LabelRem = makeNamed<QLabel>(this, QStringLiteral("LabelRem"), QStringLiteral("Примечание"));
    LabelRem->move(left, bottom(sbPrice) + 5);
    cbAutoFind = makeNamed<QCheckBox>(this, QStringLiteral("cbAutoFind"),
                                      QStringLiteral("Включить автоматический поиск по номеру"));
    cbAutoFind->adjustSize();
    cbAutoFind->move(left, bottom(detImage) - cbAutoFind->height());
    mRem = makeNamed<QPlainTextEdit>(this, QStringLiteral("mRem"));
    mRem->setGeometry(left + InputShift, bottom(sbPrice) + 1, right(bLine) - left - InputShift,
                      cbAutoFind->y() - bottom(sbPrice) - 1);

    eN->installEventFilter(this);
    using ErrorDisplay::connect;
    connect(bbForw, &QPushButton::clicked, this, [this] { bbForwClick(); });
    connect(bbBack, &QPushButton::clicked, this, [this] { bbBackClick(); });
    connect(bbCancel, &QPushButton::clicked, this, [this] { bbCancelClick(); });
    connect(cbSE, qOverload<int>(&QComboBox::activated), this, [this](int i) { cbSEClick(i); });
    connect(cbMOD, &QComboBox::currentIndexChanged, this, [this] { cbMODChange(); });
    connect(cbGr, &QComboBox::currentIndexChanged, this, [this] { cbGrChange(); });
    // The group's and the note's hints always repeat their text.
    QObject::connect(cbGr, &QComboBox::currentTextChanged, cbGr, &QWidget::setToolTip);
    QObject::connect(mRem, &QPlainTextEdit::textChanged, this,
                     [this] { mRem->setToolTip(mRem->toPlainText()); });
}

bool TdetForm::run(const Writer& w) {
    writer = w;
    written = false;
    Modal::exec(*this);
    return written;
}

void TdetForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ErrorDisplay::guard([this] { FormShow(); });
}

void TdetForm::fillModifications() {
    // Entry k stands for modification k; the blank entry for the parts common to all.
    const QSignalBlocker block(cbMOD);
    const QString chosen = cbMOD->currentText();
    cbMOD->clear();
    cbMOD->addItem(QString());
    TQuery& q = DM->QMod;
    q.setText({QStringLiteral("select * from Modif where modif>0 order by modif")});
    q.open();
    for (; !q.eof(); q.next())
        cbMOD->addItem(q.asString(QStringLiteral("MODName")));
    q.close();
    cbMOD->setCurrentIndex(std::max(0, cbMOD->findText(chosen)));
}

void TdetForm::fillPriceRows() {
    const auto columns = DM->priceColumns();
    QWidget* box = sbPrice->widget();
    while (ePrice.size() < int(columns.size())) {
        const int i = int(ePrice.size());
        auto* caption = makeNamed<QLabel>(box, QStringLiteral("labelPrice%1").arg(i));
        caption->move(0, i * Step + 4);
        auto* edit = makeNamed<QLineEdit>(box, QStringLiteral("ePrice%1").arg(i));
        edit->setGeometry(InputShift, i * Step, 368, 21);
        edit->setFrame(false);
        auto* value = makeNamed<QLabel>(box, QStringLiteral("lbPrice%1").arg(i));
        value->move(InputShift, i * Step + 4);
        labelPrice << caption;
        ePrice << edit;
        lbPrice << value;
    }
    for (int i = 0; i < ePrice.size(); ++i) {
        const bool used = i < int(columns.size());
        labelPrice[i]->setText(used ? columns[size_t(i)].name : QString());
        labelPrice[i]->setToolTip(used ? columns[size_t(i)].field : QString());
        labelPrice[i]->adjustSize();
        labelPrice[i]->setVisible(used);
        ePrice[i]->setVisible(used && Screen == 0);
        lbPrice[i]->setVisible(used && Screen != 0);
    }
    box->resize(InputShift + 368, int(columns.size()) * Step);
}

void TdetForm::FormShow() {
    fillModifications();
    fillPriceRows();
    if (startEmpty) {
        for (QLineEdit* e : {eN, eName, eKol, eOKP})
            e->clear();
        mRem->clear();
        cbSE->clear();
        cbSE->setEditText(QString());
        for (QLineEdit* e : ePrice)
            e->clear();
        if (cbGr->count() == 0) cbMODChange();
        cbGr->setCurrentIndex(0);
        cbPic->setCurrentIndex(-1);
    }
    if (cbPic->currentText().isEmpty()) cbGrChange();
    setScreen(0);
}

void TdetForm::prepareCurrent(const QString& number, int modif) {
    startEmpty = false;
    fillModifications();
    fillPriceRows();
    TQuery& q = DM->QDet;
    q.setText({QStringLiteral("select * from Find where (N=%1) AND (modif=%2)")
                   .arg(Sql::quote(number))
                   .arg(modif),
               QStringLiteral("order by modif, N")});
    q.open();
    if (q.isEmpty()) return;
    eN->setText(q.asString(QStringLiteral("N")));
    cbSE->clear();
    for (; !q.eof(); q.next())
        cbSE->addItem(q.asString(QStringLiteral("SE")));
    q.first();
    cbSE->setCurrentIndex(0);
    cbSEClick(0);
}

void TdetForm::setScreen(int screen) {
    Screen = screen;
    static const char* titles[] = {"Введите параметры детали", nullptr, "Выберите номер детали",
                                   "Изменение в каталоге проведены успешно"};
    if (titles[screen]) lbTitle->setText(QString::fromUtf8(titles[screen]));
    const bool inputsShown = screen == 0;
    const bool confirming = screen == 1 || screen == 2;
    for (int i = 0; i < 9; ++i) {
        captions[i]->setVisible(screen != 3);
        inputs[i]->setVisible(inputsShown);
        confirmation[i]->setVisible(confirming);
    }
    if (screen == 2) {
        captions[0]->hide();
        lbZN->hide();
    }
    rb1->setVisible(screen == 2);
    rb2->setVisible(screen == 2);
    sbPrice->setVisible(screen != 3);
    LabelRem->setVisible(screen != 3);
    mRem->setVisible(screen != 3);
    cbAutoFind->setVisible(inputsShown);
    for (int i = 0; i < ePrice.size(); ++i) {
        const bool used = !labelPrice[i]->text().isEmpty();
        ePrice[i]->setVisible(used && inputsShown);
        lbPrice[i]->setVisible(used && confirming);
    }
    mRem->setReadOnly(!inputsShown);
    mRem->setVerticalScrollBarPolicy(inputsShown ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    QPalette p = mRem->palette();
    p.setColor(QPalette::Base, palette().color(inputsShown ? QPalette::Base : QPalette::Button));
    mRem->setPalette(p);
    bbBack->setEnabled(confirming);
    bbForw->setText(screen == 3 ? QStringLiteral("Готово") : QStringLiteral("Далее >"));
    bbCancel->setEnabled(screen != 3);
}

bool TdetForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == eN && event->type() == QEvent::KeyRelease)
        ErrorDisplay::guard([&] { eNKeyUp(static_cast<QKeyEvent*>(event)->key()); });
    return QDialog::eventFilter(watched, event);
}

void TdetForm::eNKeyUp(int key) {
    TQuery& q = DM->QDet;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        eN->deselect();
        q.setText({QStringLiteral("select * from Find where N=") + Sql::quote(eN->text()),
                   QStringLiteral("order by modif, N")});
        q.open();
        cbSE->clear();
        if (q.isEmpty()) {
            for (QLineEdit* e : {eName, eKol, eOKP})
                e->clear();
            cbSE->setEditText(QString());
            cbGr->setCurrentIndex(0);
            cbGrChange();
            cbPic->setCurrentIndex(0);
            for (QLineEdit* e : ePrice)
                e->clear();
            mRem->clear();
            return;
        }
        for (; !q.eof(); q.next())
            cbSE->addItem(q.asString(QStringLiteral("MODName")) + QStringLiteral(" - ") +
                          q.asString(QStringLiteral("SE")));
        q.first();
        cbSE->setCurrentIndex(0);
        cbSEClick(0);
        return;
    }
    if (!cbAutoFind->isChecked() || key == Qt::Key_Backspace || key == Qt::Key_Delete) return;
    const QString typed = eN->text();
    if (typed.isEmpty()) return;
    q.setText({QStringLiteral("select * from Detail where N like ") + Sql::quote(typed + "%"),
               QStringLiteral("order by N")});
    q.open();
    if (q.isEmpty()) return;
    eN->setText(q.asString(QStringLiteral("N")));
    eN->setSelection(eN->text().size(), typed.size() - eN->text().size());
}

void TdetForm::cbSEClick(int index) {
    TQuery& q = DM->QDet;
    if (!q.active() || q.isEmpty()) return;
    q.moveTo(index);
    fillFromRow();
}

void TdetForm::fillFromRow() {
    const TQuery& q = DM->QDet;
    eName->setText(q.asString(QStringLiteral("Name")));
    eKol->setText(q.asString(QStringLiteral("Quantity")));
    eOKP->setText(q.asString(QStringLiteral("OKP")));
    // The lists are rebuilt from the row, so the row is read first.
    const int modif = q.asInteger(QStringLiteral("modif"));
    const int group = q.asInteger(QStringLiteral("indexGr"));
    const int picture = q.asInteger(QStringLiteral("Picture"));
    const QString weight = q.asString(QStringLiteral("V"));
    const QString note = q.asString(QStringLiteral("Rem"));
    QStringList prices;
    for (QLabel* caption : labelPrice)
        prices << (caption->text().isEmpty() ? QString() : q.asString(caption->toolTip()));
    cbMOD->setCurrentIndex(modif);
    cbMODChange();
    cbGr->setCurrentIndex(group < cbGr->count() ? group : 0);
    cbGrChange();
    const int entry = picture - picTag + 1;
    cbPic->setCurrentIndex(picture > 0 && entry > 0 && entry < cbPic->count() ? entry : 0);
    eV->setText(weight);
    for (int i = 0; i < ePrice.size(); ++i)
        ePrice[i]->setText(prices[i]);
    mRem->setPlainText(note);
}

void TdetForm::cbMODChange() {
    const QSignalBlocker block(cbGr);
    cbGr->clear();
    cbGr->addItem(QString());
    TQuery& q = DM->QGrMOD;
    const QString modification = cbMOD->currentText();
    if (!modification.isEmpty()) {
        q.setText({QStringLiteral("select * from GrMOD where MODName=") + Sql::quote(modification),
                   QStringLiteral("order by modif, indexGr")});
        q.open();
        for (; !q.eof(); q.next())
            cbGr->addItem(q.asString(QStringLiteral("GroupN")) + QStringLiteral(": ") +
                          q.asString(QStringLiteral("GroupName")));
    } else {
        q.setText({QStringLiteral("select * from GrMOD order by modif, indexGr")});
        q.open();
        for (q.next(); !q.eof(); q.next())
            cbGr->addItem(q.asString(QStringLiteral("MODName")) + QStringLiteral(" - ") +
                          q.asString(QStringLiteral("GroupN")) + QStringLiteral(": ") +
                          q.asString(QStringLiteral("GroupName")));
    }
    q.close();
    cbGr->setCurrentIndex(0);
    cbGr->setToolTip(cbGr->currentText());
    cbGrChange();
}

void TdetForm::cbGrChange() {
    const QString modification = cbMOD->currentText();
    const QString group = cbGr->currentText();
    QStringList lines = {QStringLiteral("SELECT DISTINCT *"), QStringLiteral("FROM PicGr")};
    if (!group.isEmpty()) {
        const QString g = withoutPrefix(group).section(QLatin1Char(':'), 0, 0);
        QString where = QStringLiteral("WHERE (GroupN=%1)").arg(Sql::quote(g));
        if (!modification.isEmpty())
            where += QStringLiteral(" AND (MODName=%1)").arg(Sql::quote(modification));
        lines << where;
    } else if (!modification.isEmpty()) {
        lines << QStringLiteral("WHERE MODName=") + Sql::quote(modification);
    }
    lines << QStringLiteral("ORDER BY modif, GroupN, PicN");
    TQuery& q = DM->QPicGr;
    q.setText(lines);
    q.open();
    picTag = q.asInteger(QStringLiteral("PicN"));
    cbPic->clear();
    cbPic->addItem(QString());
    if (!modification.isEmpty()) {
        for (; !q.eof(); q.next())
            cbPic->addItem(q.asString(QStringLiteral("PicName")));
    } else {
        for (q.next(); !q.eof(); q.next())
            cbPic->addItem(q.asString(QStringLiteral("MODName")) + QStringLiteral(" - ") +
                           q.asString(QStringLiteral("PicName")));
    }
    q.close();
}

void TdetForm::bbForwClick() {
    if (Screen == 3) {
        accept();
        return;
    }
    if (Screen == 0) {
        if (eN->text().isEmpty()) return;
        K = keyForm(eN->text());
        TQuery& q = DM->QDet;
        q.setText({QStringLiteral("select * from Find where N_f=") + Sql::quote(K)});
        q.open();
        lbZName->setText(eName->text());
        lbZKol->setText(eKol->text());
        lbZOKP->setText(eOKP->text());
        lbZMOD->setText(cbMOD->currentText());
        lbZGr->setText(cbGr->currentText());
        lbZPic->setText(cbPic->currentText());
        lbZSE->setText(withoutPrefix(cbSE->currentText()));
        lbZV->setText(confirmedNumber(eV->text()));
        for (int i = 0; i < ePrice.size(); ++i)
            lbPrice[i]->setText(confirmedNumber(ePrice[i]->text()));
        for (QLabel* z : confirmation)
            z->adjustSize();
        for (QLabel* z : lbPrice)
            z->adjustSize();
        LongLabel(lbZGr, eN->width());
        LongLabel(lbZPic, eN->width());
        lbZN->setText(eN->text());
        lbZN->adjustSize();
        if (q.isEmpty()) {
            lbTitle->setText(QStringLiteral("Добавить деталь"));
            Adding = true;
            setScreen(1);
        } else if (q.asString(QStringLiteral("N")) == eN->text()) {
            lbTitle->setText(QStringLiteral("Изменить параметры детали"));
            Adding = false;
            setScreen(1);
        } else {
            rb1->setText(q.asString(QStringLiteral("N")));
            rb2->setText(eN->text());
            rb1->setChecked(true);
            Adding = false;
            setScreen(2);
        }
        q.close();
        return;
    }
    if (writer) writer(confirmed());
    written = true;
    setScreen(3);
}

DetSql::Part TdetForm::confirmed() const {
    DetSql::Part p;
    p.add = Adding;
    p.key = K;
    p.number = lbZN->text();
    p.stored = Screen == 2 ? (rb1->isChecked() ? rb1->text() : rb2->text()) : lbZN->text();
    p.name = lbZName->text();
    p.okp = lbZOKP->text();
    p.weight = lbZV->text();
    p.assembly = lbZSE->text();
    p.quantity = lbZKol->text();
    p.modif = std::max(0, cbMOD->currentIndex());
    p.picture = cbPic->currentText().isEmpty() ? 0 : cbPic->currentIndex() + picTag - 1;
    p.note = mRem->toPlainText();
    const auto columns = DM->priceColumns();
    for (size_t i = 0; i < columns.size() && int(i) < lbPrice.size(); ++i)
        p.prices.push_back({columns[i].field, columns[i].name, lbPrice[int(i)]->text()});
    return p;
}

void TdetForm::bbBackClick() {
    setScreen(0);
}

void TdetForm::bbCancelClick() {
    reject();
}
