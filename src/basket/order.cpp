#include "basket/order.h"

#include "app/widgets.h"
#include "basket/longlabel.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <algorithm>

TorderForm* orderForm = nullptr;

namespace {

constexpr int RowStep = 22;

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = makeNamed<QPushButton>(parent, name, caption);
    // Enter is taken on its release by the quantity itself, so no button is the default one.
    b->setAutoDefault(false);
    b->setDefault(false);
    b->resize(75, 25);
    return b;
}

QLineEdit* makeEdit(QWidget* parent, const QString& name, int width) {
    auto* e = makeNamed<QLineEdit>(parent, name);
    e->resize(width, 21);
    return e;
}

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TorderForm::TorderForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("orderForm"));
    setFont(windowFont());
    setWindowTitle(AddCaption);
    labelN = makeLabel(this, "labelN", "Номер");
    labelName = makeLabel(this, "labelName", "Наименование");
    labelK = makeLabel(this, "labelK", "Количество");
    lbN = makeLabel(this, "lbN", QString());
    lbName = makeLabel(this, "lbName", QString());
    lbV = makeLabel(this, "lbV", QString());
    lbV->hide();
    eN = makeEdit(this, "eN", 200);
    eName = makeEdit(this, "eName", 200);
    sBoxP = makeNamed<QScrollArea>(this, "sBoxP");
    sBoxP->setFrameShape(QFrame::NoFrame);
    auto* rows = new QWidget;
    rows->setObjectName(QStringLiteral("sBoxPContent"));
    sBoxP->setWidget(rows);
    eK = makeEdit(this, "eK", 200);
    eK->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), eK));
    bbAppend = makeButton(this, "bbAppend", "Добавить");
    bbCancel = makeButton(this, "bbCancel", "Отмена");
    FormCreate();

    eK->installEventFilter(this);
    eN->installEventFilter(this);
    eName->installEventFilter(this);
    ErrorDisplay::connect(bbAppend, &QPushButton::clicked, this, [this] { bbAppendClick(); });
    connect(bbCancel, &QPushButton::clicked, this, [this] { bbCancelClick(); });
    // Text put in without a key (pasted from the menu) reaches the labels too.
    connect(eN, &QLineEdit::textEdited, this, [this] { eNKeyUp(); });
    connect(eName, &QLineEdit::textEdited, this, [this] { eNameKeyUp(); });
}

void TorderForm::FormCreate() {
    lbN->move(135, 20);
    labelN->move(20, 20);
    eN->move(lbN->x(), lbN->y() - 4);
    lbName->move(135, lbN->y() + RowStep);
    labelName->move(20, lbName->y());
    eName->move(lbName->x(), lbName->y() - 4);
    sBoxP->setGeometry(0, eName->y() + RowStep, right(eN) + 20, 100);
    labelK->move(20, bottom(sBoxP) + 2);
    eK->move(135, labelK->y());
    bbCancel->move(right(eK) - bbCancel->width(), bottom(eK) + 5);
    bbAppend->move(bbCancel->x() - 5 - bbAppend->width(), bbCancel->y());
    setFixedSize(right(eK) + 20, bottom(bbCancel) + 5);
}

void TorderForm::AddPrice() {
    QWidget* rows = sBoxP->widget();
    const int i = int(ePrice.size());
    QLabel* caption = makeLabel(rows, QStringLiteral("labelPrice%1").arg(i), QString());
    caption->move(20, 0);
    QLineEdit* input = makeEdit(rows, QStringLiteral("ePrice%1").arg(i), 200);
    input->setFrame(false);
    input->move(135, 0);
    labelPrice.push_back(caption);
    ePrice.push_back(input);
}

void TorderForm::placePriceRow(int i, const QString& caption, int v) {
    QLabel* label = labelPrice[i];
    QLineEdit* input = ePrice[i];
    label->setText(caption);
    label->adjustSize();
    label->setToolTip(QString());
    input->setToolTip(QString());
    const int top = v >= 0 ? v * RowStep : 0;
    input->move(input->x(), top);
    label->move(label->x(), top + 4);
    input->setVisible(v >= 0);
    label->setVisible(v >= 0);
    fitPriceBox();
}

void TorderForm::emptyPriceRow(int i) {
    for (QWidget* w : {static_cast<QWidget*>(labelPrice[i]), static_cast<QWidget*>(ePrice[i])}) {
        w->hide();
        w->move(w->x(), 0);
        w->setToolTip(QStringLiteral("_empty_"));
    }
    fitPriceBox();
}

void TorderForm::fitPriceBox() {
    QWidget* rows = sBoxP->widget();
    int height = 0;
    for (QLineEdit* e : ePrice)
        if (!e->isHidden()) height = std::max(height, bottom(e));
    rows->resize(sBoxP->width() - 20, height);
}

void TorderForm::setMode(const QString& caption, const QString& button, bool typed) {
    setWindowTitle(caption);
    bbAppend->setText(button);
    lbN->setVisible(!typed);
    lbName->setVisible(!typed);
    eN->setVisible(typed);
    eName->setVisible(typed);
}

void TorderForm::showPart(const QString& number, const QString& name) {
    lbN->setText(number);
    lbName->setText(name);
    LongLabel(lbN, eK->width());
    LongLabel(lbName, eK->width());
    lbN->setToolTip(number);
    lbName->setToolTip(name);
}

void TorderForm::setPrices(const QStringList& prices) {
    for (int i = 0; i < ePrice.size(); ++i)
        ePrice[i]->setText(i < prices.size() ? prices[i] : QString());
}

void TorderForm::prepareCurrent(const QString& number, const QString& name, const QString& weight,
                                const QStringList& prices) {
    setMode(AddCaption, QStringLiteral("Добавить"), false);
    showPart(number, name);
    lbV->setText(weight);
    setPrices(prices);
    eK->setText(QStringLiteral("1"));
}

void TorderForm::prepareArbitrary() {
    setMode(AddCaption, QStringLiteral("Добавить"), true);
    eN->clear();
    eName->clear();
    showPart(QString(), QString());
    lbV->setText(QStringLiteral("0"));
    eK->setText(QStringLiteral("1"));
    setPrices({});
}

void TorderForm::prepareChange(const QString& number, const QString& name, const QString& quantity,
                               const QStringList& prices) {
    setMode(QStringLiteral("Изменить количество"), QStringLiteral("Изменить"), false);
    showPart(number, name);
    eK->setText(quantity);
    setPrices(prices);
}

int TorderForm::run(Acceptor act) {
    acceptor = std::move(act);
    const int result = Modal::exec(*this);
    acceptor = nullptr;
    return result;
}

TorderForm::Input TorderForm::input() const {
    Input in;
    in.change = windowTitle() != AddCaption;
    in.number = lbN->toolTip();
    in.name = lbName->toolTip();
    in.weight = lbV->text();
    in.quantity = eK->text();
    for (const QLineEdit* e : ePrice)
        in.prices << e->text();
    return in;
}

void TorderForm::bbAppendClick() {
    if (!acceptor) return;
    if (acceptor(input()))
        accept();
    else
        eK->setText(QStringLiteral("0"));
}

void TorderForm::bbCancelClick() {
    reject();
}

void TorderForm::eKKeyUp(int key) {
    if (isEnter(key)) ErrorDisplay::guard([this] { bbAppendClick(); });
}

void TorderForm::eNKeyUp() {
    lbN->setText(eN->text());
    lbN->setToolTip(eN->text());
}

void TorderForm::eNameKeyUp() {
    lbName->setText(eName->text());
    lbName->setToolTip(eName->text());
}

bool TorderForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == eK) eKKeyUp(key);
        if (watched == eN) eNKeyUp();
        if (watched == eName) eNameKeyUp();
    }
    return QDialog::eventFilter(watched, event);
}

void TorderForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    raiseTopmostWindows(this);
    if (eK->isEnabled()) eK->setFocus();
}
