#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// One modification of the catalogue as the settings keep it (modification 0, the parts
// common to all, is never listed).
struct ModifRow {
    int modif = 0;
    QString name;
    bool visible = false;
    int pictures = 0; // drawings of the modification (column PIC)
};

// State that several subsystems read. Each item has one writer, named beside it; everyone
// else reads it here. The drawing shown (CurrentPic, CurrentModif) and the current part stay
// on the main window, which alone writes them.
class SharedState {
public:
    // ---- Modifications. Writer: the settings (Modifs::reload). ----
    void setModifications(const QVector<ModifRow>& rows);
    // The condition of the visible modifications, ((modif=0) OR (modif=m) ...).
    const QString& modFilter() const { return filter; }
    // Drawing count per modification, in modification order.
    const QVector<int>& modPic() const { return pictures; }
    // Whether the modification at list position p (modification p + 1's row) is visible.
    bool modificationVisible(int position) const;
    // Names of the visible modifications, in order: what the lists of the dialogs offer.
    QStringList visibleModifications() const;
    // The first visible modification, 0 when none is.
    int firstVisibleModif() const;
    // By modification number (numbers may have gaps): whether modif is listed and visible, its
    // drawing count (0 when not listed), and the nearest visible modification above or below
    // it (0 when there is none).
    bool modifVisible(int modif) const;
    int picturesOf(int modif) const;
    int nextVisibleModif(int modif) const;
    int previousVisibleModif(int modif) const;

    // ---- The condition of the last catalogue search ("where ..."). Writer: the main
    // window's routine that shows a search result. ----
    const QString& searchCondition() const { return condition; }
    void setSearchCondition(const QString& where) { condition = where; }

    // ---- VAT rate in percent. Writer: the price settings (fixed at 20 until they set it). ----
    int ndsPercent() const { return nds; }
    void setNdsPercent(int percent) { nds = percent; }

private:
    QVector<ModifRow> modifs;
    QVector<int> pictures;
    QString filter = QStringLiteral("((modif=0))");
    QString condition;
    int nds = 20;
};

// The program's one shared state; it lives as long as the windows (see Forms).
extern SharedState* Shared;
