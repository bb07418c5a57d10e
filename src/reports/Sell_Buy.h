#pragma once

#include "reports/plants.h"

#include <QDialog>
#include <QString>
#include <vector>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TMainFace;
class TShape;

// "Данные о предприятиях": the enterprise register, one enterprise at a time. It adds, changes
// and deletes rows of enterprise through the register's routines and hands every new list of
// names to the main window, which refills its enterprise boxes and places their choices.
class TformDataToPlant : public QDialog {
    Q_OBJECT
public:
    explicit TformDataToPlant(TMainFace& mainWindow, QWidget* parent = nullptr);

    // Reads the register and rebuilds cbPlant; the main window's lists follow, placed after
    // edit (a plain refill chooses nothing).
    void CreateComboBoxList(const Plants::ListEdit& edit = {});
    // Loads the enterprise at cbPlant's position into the edits (none: every edit cleared).
    void cbPlantClick();
    // "Добавить/Изменить", "Удалить из списка", "Закрыть".
    void sbAppendNewClick();
    void sbDelListClick();
    void BitBtnPlantOKClick();

    // Shows the register modally on the enterprise at list position p (-1: none). Returns
    // whether it was closed with "Новое предприятие" still chosen.
    bool showAt(int position);

    // cbPlant's position when its text is an entry picked from the list, else -1 (a typed
    // name is no entry).
    int chosenPosition() const;
    // What the edits hold, as typed.
    PlantRecord typed() const;

    bool PlantChanged = false;

    QToolButton* sbAppendNew;
    QToolButton* sbDelList;
    TShape* sAppendNew;
    TShape* sDelList;
    QGroupBox* gbInfo;
    QComboBox* cbPlant;
    QLineEdit* ePlantRem;
    QLineEdit* ePlantType;
    QLineEdit* eDirector;
    QLineEdit* eBuhgalter;
    QFrame* bvRequisites;
    QLineEdit* ePlantAdres;
    QLineEdit* ePlantRS;
    QLineEdit* ePlantBank;
    QLineEdit* ePlantINN;
    QLineEdit* ePlantBik;
    QLineEdit* ePlantKS;
    QLineEdit* ePlantOKONX;
    QLineEdit* ePlantOKPO;
    QLineEdit* ePlantTel;
    QLineEdit* ePlantFax;
    QLineEdit* ePlantEmail;
    QPushButton* BitBtnPlantOK;

public Q_SLOTS:
    // Every way of closing ends here; the close box asks nothing.
    void done(int result) override;

private:
    void FormCreate();
    void FormCloseQuery();
    // cbPlant shows name: its entry when there is one, else the name as typed text.
    void showName(const QString& name);

    struct Edit {
        QString column;
        QLineEdit* edit;
    };
    std::vector<Edit> edits;
    TMainFace& face;
    bool closedOnNewPlant = false;
};

extern TformDataToPlant* formDataToPlant;
