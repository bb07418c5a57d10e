#pragma once

#include <QString>
#include <QStringList>

class TMarker;
namespace FindSql {
struct Statement;
}
namespace Plants {
struct ListEdit;
}

// What a dialog may ask of the main window. A dialog collects its input and hands it over
// here (or returns it to whoever showed it); the main window acts on its own widgets. Dialogs
// include this header, never app/mainform.h.
class TMainFace {
public:
    // Rebuilds the basket grid (with a with-VAT column per price column).
    virtual void NewOrder() = 0;
    // Reopens the order history under its filter.
    virtual void NewHistory() = 0;
    // Rebuilds the drawing tree over the visible modifications.
    virtual void NewTree() = 0;
    // Rebuilds every grid column that depends on the price columns.
    virtual void NewDBGrid() = 0;
    // Shows (filled from QPicPos) or hides the part-information panel.
    virtual void LabelVisible(bool show) = 0;
    // The marker click: the marker's part becomes the one shown.
    virtual void PosOnClick(TMarker* marker) = 0;
    // Shows the current row of QFind on its drawing.
    virtual void FindNew() = 0;
    // Redraws the standardized-items panel's detail side from the current row of QSTD.
    virtual void NewSTD() = 0;
    // The current part for the basket.
    virtual void setCurrentPart(const QString& n, const QString& name, const QString& v) = 0;
    // Runs a search the search dialog built and shows its result: the result table for a
    // catalogue search, the standardized-items panel for a standardized one.
    virtual void showSearchResult(const FindSql::Statement& statement, bool standardized) = 0;
    // Opens part nf of modification modif on a drawing, with its markers selected: the
    // occurrence at picture and position when picture > 0, else the part's first on a drawing.
    virtual void showPartOn(const QString& nf, int modif, int picture, int position) = 0;
    // Puts a part into the basket the way "Добавить" does (through the add-to-basket dialog).
    virtual void orderPart(const QString& n, const QString& name, const QString& v) = 0;
    // The enterprise register was read afresh: names are every enterprise in register order.
    // The main window refills its enterprise lists and places their choices after edit.
    virtual void enterprisesChanged(const QStringList& names, const Plants::ListEdit& edit) = 0;

protected:
    ~TMainFace() = default;
};
