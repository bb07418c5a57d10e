#pragma once

#include "settings/priceupdate.h"

#include <QDialog>
#include <QString>
#include <memory>
#include <vector>

class PricePreviewPage;
class PriceTable;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class TMainFace;

// "Обновление цен": prices from a supplier's dBase table (automatic) or for one part (by hand).
// One window whose controls are shown per screen: 0 the choice of way, 1 the table and its
// columns, 5 the table chosen, 6 what the update would change, 2 the part and its new prices,
// 4 the part found, 3 done.
class TpriceForm : public QDialog {
    Q_OBJECT
public:
    explicit TpriceForm(TMainFace& mainWindow, QWidget* parent = nullptr);
    ~TpriceForm() override;

    // Shortens the path the label shows until it fits into width: «C:\...\2004\price.dbf».
    static void LongLabelDir(QLabel* label, int width);

    void bbForwClick();
    void bbBackClick();
    void eAutoChange();
    void bbAutoClick();
    // Completion of the number (byName false) or the name typed so far.
    void complete(bool byName);

    int Screen = 0;
    QLabel* lbTitle;
    QRadioButton* rbAuto;
    QRadioButton* rbHandle;
    QLabel* lbAuto;
    QLabel* lbHandle;
    QLineEdit* eAuto;
    QPushButton* bbAuto;
    QCheckBox* cbAppend;
    QLabel* lbSFields;
    QComboBox* cbFieldN;
    QComboBox* cbFieldName;
    QComboBox* cbFieldPrice;
    QLabel* lbUpPrice;
    QComboBox* cbUpPrice;
    QLabel* lbFile;
    QLabel* lbFieldZN;
    QLabel* lbFieldZName;
    QLabel* lbFieldZPrice;
    QLineEdit* eN;
    QLineEdit* eName;
    QScrollArea* sbPrice;
    std::vector<QLabel*> priceCaptions; // hint: the column's FieldName
    std::vector<QLineEdit*> priceEdits;
    std::vector<QLabel*> priceValues;
    QLabel* lbNNew;
    QLabel* lbNameNew;
    QLabel* lbError;
    QLabel* lbResult;
    QProgressBar* procStr;
    QLabel* lbProc;
    QPushButton* bbBack;
    QPushButton* bbForw;
    QPushButton* bbCancel;
    PricePreviewPage* preview;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void NewScreen();
    void mappingShown(bool shown);
    void listsChosen();
    void buildPriceRows();
    PriceUpdate::Mapping chosenMapping() const;
    void showPreview();
    void autoUpdate();
    void findPart();
    void handUpdate();

    TMainFace& mainWindow;
    std::unique_ptr<PriceTable> table;
    std::vector<QWidget*> screenWidgets[7];
    std::vector<QWidget*> mapping;
    bool partHadPrice = false;
};

extern TpriceForm* priceForm;
