#pragma once

#include <QString>
#include <functional>

class TDM;
class PriceTable;

// The automatic price update: every row of a supplier's table updates or adds the row of Price
// with its number, and, when asked, adds the parts the catalogue lacks to modification 0.
namespace PriceUpdate {

struct Mapping {
    int number = -1; // columns of the table
    int name = -1;
    int price = -1;
    QString field;       // FieldName of the price column to write
    bool append = false; // add missing parts to the catalogue (modification 0, no drawing)
};

struct Counts {
    int updated = 0; // Price rows changed
    int added = 0;   // Price rows added
    int parts = 0;   // catalogue parts added
    int skipped = 0; // rows without a number or with a price that is not a number
};

// Checks the mapping against the table and the price columns: CatalogError when a column is
// not chosen, FileError when the price column cannot hold prices, DbError when Price lacks
// the column to write.
void check(TDM& dm, const PriceTable& table, const Mapping& mapping);

// Runs the update in one transaction. progress(rowsDone) is called after every row. A table
// that cannot be read further stops the update with FileError naming the file and the row, and
// nothing is written; so does any database error. A price column the table Price lacks gives
// DbError before anything is written.
Counts run(TDM& dm, const PriceTable& table, const Mapping& mapping,
           const std::function<void(int)>& progress = {});

} // namespace PriceUpdate
