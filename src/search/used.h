#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QLabel;
class QTabWidget;
class QTableWidget;
class TMainFace;
class TQuery;

// "Где применяется": every drawing of the visible modifications where a part occurs, and for
// an assembly its "Состав". A window beside the main one; a double click on a row opens that
// drawing with the part selected, through the main face.
class TusedForm : public QDialog {
    Q_OBJECT
public:
    explicit TusedForm(TMainFace& face, QWidget* parent = nullptr);
    ~TusedForm() override;

    // Reads the occurrences (and members) of the part with key form nf and shows the window.
    void showPart(const QString& nf, const QString& n, const QString& name);

    // The row's part opened on the row's drawing.
    void gridDblClick(QTableWidget* grid, int row);

    enum ItemData { KeyRole = Qt::UserRole, ModifRole, PictureRole, PositionRole };

    QLabel* lbPart;
    QTabWidget* pages;
    QTableWidget* sgUsed;
    QTableWidget* sgMembers;

private:
    void fill(QTableWidget* grid, const QString& sql, bool members);

    TMainFace& face;
    std::unique_ptr<TQuery> query;
    QString shownKey;
};

extern TusedForm* usedForm;
