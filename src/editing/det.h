#pragma once

#include "editing/detsql.h"

#include <QDialog>
#include <QVector>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;

// The part editing wizard: screen 0 takes the part's values, screen 1 (or 2, when the typed
// number is another written form of a stored one) confirms them, screen 3 reports success.
// The confirmed values go to the routine the command gave it, which writes the catalogue.
class TdetForm : public QDialog {
    Q_OBJECT
public:
    explicit TdetForm(QWidget* parent = nullptr);

    // Writes a confirmed part; an error it throws keeps the wizard on its screen.
    using Writer = std::function<void(const DetSql::Part&)>;
    // Shows the wizard modally; true when the catalogue was changed ("Готово").
    bool run(const Writer& writer);

    // Start-empty flag, set by the caller before showing.
    bool startEmpty = true;
    // Fills the inputs from the occurrences of one part in one modification (a current part).
    void prepareCurrent(const QString& number, int modif);

    int screen() const { return Screen; }
    bool addMode() const { return Adding; }

    void bbForwClick();
    void bbBackClick();
    void bbCancelClick();
    void eNKeyUp(int key);
    void cbSEClick(int index);
    void cbMODChange();
    void cbGrChange();

    QLabel* detImage;
    QFrame* bLine;
    QLabel* lbTitle;
    QRadioButton* rb1;
    QRadioButton* rb2;
    QLineEdit* eN;
    QLineEdit* eName;
    QComboBox* cbSE;
    QLineEdit* eKol;
    QLineEdit* eOKP;
    QComboBox* cbMOD;
    QComboBox* cbGr;
    QComboBox* cbPic;
    QLineEdit* eV;
    QLabel* lbZN;
    QLabel* lbZName;
    QLabel* lbZSE;
    QLabel* lbZKol;
    QLabel* lbZOKP;
    QLabel* lbZMOD;
    QLabel* lbZGr;
    QLabel* lbZPic;
    QLabel* lbZV;
    QScrollArea* sbPrice;
    QVector<QLabel*> labelPrice;
    QVector<QLineEdit*> ePrice;
    QVector<QLabel*> lbPrice;
    QLabel* LabelRem;
    QPlainTextEdit* mRem;
    QCheckBox* cbAutoFind;
    QPushButton* bbBack;
    QPushButton* bbForw;
    QPushButton* bbCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void fillModifications();
    void fillPriceRows();
    void fillFromRow();
    void setScreen(int screen);
    DetSql::Part confirmed() const;

    QVector<QLabel*> captions;     // the captions of the inputs, "Номер" first
    QVector<QWidget*> inputs;      // screen 0's inputs, in caption order
    QVector<QLabel*> confirmation; // screens 1 and 2's labels, in caption order
    int Screen = 0;
    bool Adding = false;
    QString K;
    int picTag = 0; // PicN of the first drawing row: entry k is drawing k + tag - 1
    Writer writer;
    bool written = false;
};

extern TdetForm* detForm;
