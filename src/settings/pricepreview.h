#pragma once

#include "settings/priceupdate.h"

#include <QString>
#include <vector>

class TDM;
class PriceTable;

// What an automatic price update would do, read before anything is written: the prices that
// change, the numbers the catalogue lacks and the rows that cannot be read.
namespace PricePreview {

struct Change {
    QString number;
    QString name;
    bool hadPrice = false; // the number had a price in the chosen column
    double oldPrice = 0;
    double newPrice = 0;
    // The change in percent of the old price; meaningless when the old price is missing or 0.
    double percent() const { return (newPrice - oldPrice) * 100 / oldPrice; }
    bool hasPercent() const { return hadPrice && oldPrice != 0; }
};

struct Unreadable {
    int row = 0; // 1-based, as the supplier counts them
    QString reason;
};

struct Preview {
    std::vector<Change> changes;  // catalogue parts whose price is new or different
    int unchanged = 0;            // catalogue parts whose price stays as it is
    std::vector<Change> notFound; // numbers whose key form no catalogue part has
    std::vector<Unreadable> unreadable;
    int compared = 0;   // rows with an old price other than 0
    int bigChanges = 0; // of those, the prices that change by more than half
    bool warn() const { return suspicious(compared, bigChanges); }
    // More than a tenth of the compared prices change by more than half: most likely the
    // wrong column was taken for the price.
    static bool suspicious(int compared, int bigChanges) {
        return compared > 0 && qint64(bigChanges) * 10 > compared;
    }
};

// Reads the table as PriceUpdate::run would, and writes nothing. A later row with the same
// number wins, as it does when the rows are written.
Preview compute(TDM& dm, const PriceTable& table, const PriceUpdate::Mapping& mapping);

} // namespace PricePreview
