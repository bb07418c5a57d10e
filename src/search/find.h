#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TMainFace;
class TShape;

// "Параметры поиска": the criteria of a catalogue or standardized-item search. Its inputs and
// check boxes persist between showings; "OK" hands the statement it built to the main window,
// which runs it and shows the result, and closes.
class TfindForm : public QDialog {
    Q_OBJECT
public:
    explicit TfindForm(TMainFace& mainWindow, QWidget* parent = nullptr);

    // Refills the modification list with these names (after a blank entry) and the group
    // list over them.
    void setModifications(const QStringList& names);
    // What each group entry of findComboBox carries (entry 0 is blank and carries nothing):
    // its group number, and its modification's name in the list over every modification.
    enum GroupEntryData { GroupNumberRole = Qt::UserRole, GroupModificationRole };

    void bbOkClick();
    void bbClearClick();
    void findComboBoxMODChange();
    void findCheckBoxSTDClick();

    QFrame* bvN;
    QFrame* bvSE;
    QFrame* bvName;
    QFrame* bvMOD;
    QFrame* bvGroup;
    QFrame* bvSTD;
    QLabel* LabelN;
    QLabel* LabelSE;
    QLabel* LabelName;
    QLabel* LabelMOD;
    QLabel* LabelGroup;
    QLabel* LabelSTD;
    QLineEdit* findEditN;
    QLineEdit* findEditSE;
    QLineEdit* findEditName;
    QComboBox* findComboBoxMOD;
    QComboBox* findComboBox;
    QToolButton* sbN;
    QToolButton* sbSE;
    QToolButton* sbName;
    TShape* sN;
    TShape* sSE;
    TShape* sName;
    QCheckBox* findCheckBoxN;
    QCheckBox* findCheckBoxSE;
    QCheckBox* findCheckBoxName;
    QCheckBox* findCheckBoxMOD;
    QCheckBox* findCheckBoxGroup;
    QCheckBox* findCheckBoxSTD;
    QPushButton* bbClear;
    QPushButton* bbOk;
    QPushButton* bbCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutRows();
    void connectControls();
    // Whether any of the five criteria rows would take part (the "Стандартизованные" box aside).
    bool anyRowActive() const;
    void listInto(QLineEdit* edit);

    TMainFace& mainWindow;
};

extern TfindForm* findForm;
