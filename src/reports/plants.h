#pragma once

#include "reports/plantsql.h"

#include <QString>
#include <QStringList>

class Connection;
class TQuery;

// The enterprise register's routines: reading, adding, changing and deleting enterprises, and
// where the lists that show them stand afterwards. Rows 1 and 2 are fixed: the neutral entry
// and "Новое предприятие". List position p is always the enterprise with Index p + 1.
namespace Plants {

inline const QString NewPlantName = QStringLiteral("Новое предприятие");
constexpr int NeutralPosition = 0;
constexpr int NewPlantPosition = 1;
constexpr int FixedRows = 2;

// Every enterprise name in register order.
QStringList names(TQuery& q);

// The enterprise at list position p in its stored form; false (and an empty record) when
// there is none.
bool load(TQuery& q, int position, PlantRecord& record);

// The Index of the named enterprise, 0 when there is none.
int indexOf(TQuery& q, const QString& name);

// The typed record in its stored form: contacts packed. Throws CatalogError naming the entry
// and the field when a contact itself contains the separator "#".
PlantRecord packed(const PlantRecord& typed);
// The stored record as the dialog shows it: contacts unpacked.
PlantRecord unpacked(const PlantRecord& stored);

// A new enterprise with Index n (stored form).
void add(TQuery& q, int n, const PlantRecord& stored);
// Every column of the enterprise of that name (stored form).
void change(TQuery& q, const PlantRecord& stored);
// Deletes the named enterprise and closes up the numbers behind it, all or nothing. Returns
// its former Index; 0 when there is no such enterprise (nothing is done).
int remove(TQuery& q, Connection& db, const QString& name);

// What happened to the register, for the lists that show every enterprise.
struct ListEdit {
    enum Kind {
        Filled, // the lists were built afresh; no entry is chosen
        Saved,  // an add or change was asked for; saved is the position of the enterprise
                // written, -1 when nothing was written
        Deleted // the enterprise with Index deleted is gone
    };
    Kind kind = Filled;
    int saved = -1;
    int deleted = 0;
};

// Where a box listing every enterprise goes from old (-1: no entry) after edit, the list now
// holding count entries. After a save every box stays, and one on "Новое предприятие" shows
// the enterprise written. After a delete every box keeps its enterprise; one that showed the
// deleted enterprise falls back to the neutral entry, and with only the fixed rows left no
// entry is chosen.
int positionAfter(int old, const ListEdit& edit, int count);

} // namespace Plants
