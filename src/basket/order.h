#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

// What the add-to-basket dialog returns on "Добавить"/"Изменить".
struct OrderInput {
    bool change = false; // the caption is not "Добавить деталь"
    QString number;      // lbN's hint: the full number
    QString name;        // lbName's hint
    QString weight;      // lbV
    QString quantity;    // eK, digits only
    QStringList prices;  // ePrice[i] for every row made, in price column order
};

// The add-to-basket dialog: adds the current part or a typed one, or changes a basket line's
// quantity and prices. It collects what the user typed and hands it to the routine the command
// gave it; it writes nothing itself.
class TorderForm : public QDialog {
    Q_OBJECT
public:
    explicit TorderForm(QWidget* parent = nullptr);

    using Input = OrderInput;
    // Acts on a confirmed input. Returns false to keep the dialog open (a zero quantity, which
    // the dialog then shows as "0"); an error it throws is shown and keeps the dialog open.
    using Acceptor = std::function<bool(const Input&)>;

    static inline const QString AddCaption = QStringLiteral("Добавить деталь");

    // The three ways the commands fill the dialog before showing it.
    void prepareCurrent(const QString& number, const QString& name, const QString& weight,
                        const QStringList& prices);
    void prepareArbitrary();
    void prepareChange(const QString& number, const QString& name, const QString& quantity,
                       const QStringList& prices);
    // Shows the dialog modally; acceptor acts on "Добавить"/"Изменить".
    int run(Acceptor acceptor);
    Input input() const;

    // Price input rows, one per price column (made on demand, never destroyed).
    void AddPrice();
    int priceRows() const { return int(ePrice.size()); }
    // Row i hidden under its caption; shown at visible position v when v >= 0.
    void placePriceRow(int i, const QString& caption, int v);
    // A row left over after a price column was deleted.
    void emptyPriceRow(int i);

    void bbAppendClick();
    void bbCancelClick();
    void eKKeyUp(int key);
    void eNKeyUp();
    void eNameKeyUp();

    QLabel* labelN;
    QLabel* labelName;
    QLabel* labelK;
    QLabel* lbN;
    QLabel* lbName;
    QLabel* lbV;
    QLineEdit* eN;
    QLineEdit* eName;
    QScrollArea* sBoxP;
    QVector<QLabel*> labelPrice;
    QVector<QLineEdit*> ePrice;
    QLineEdit* eK;
    QPushButton* bbAppend;
    QPushButton* bbCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void setMode(const QString& caption, const QString& button, bool typed);
    void showPart(const QString& number, const QString& name);
    void setPrices(const QStringList& prices);
    void fitPriceBox();

    Acceptor acceptor;
};

extern TorderForm* orderForm;
