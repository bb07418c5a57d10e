#include "settings/pricepreview.h"

#include "data/datamod.h"
#include "data/dberror.h"
#include "search/keyform.h"
#include "settings/pricetable.h"

#include <QHash>
#include <QSet>
#include <cmath>

namespace PricePreview {

namespace {

struct OldPrice {
    bool present;
    double value;
};

} // namespace

Preview compute(TDM& dm, const PriceTable& table, const PriceUpdate::Mapping& m) {
    PriceUpdate::check(dm, table, m);
    TQuery& q = dm.QPrice;
    // The prices as they stand, by number; a row without a price in the column counts as
    // having none. Updated as the rows are read, since a repeated number overwrites.
    QHash<QString, OldPrice> prices;
    q.setText({QStringLiteral("select ID_P, %1 from Price").arg(m.field)});
    q.open();
    for (int r = 0; r < q.recordCount(); ++r) {
        const QVariant v = q.cell(r, 1);
        prices.insert(q.cell(r, 0).toString(), {!v.isNull(), v.toDouble()});
    }
    q.setText({QStringLiteral("select distinct N_f from Detail")});
    q.open();
    QSet<QString> parts;
    for (int r = 0; r < q.recordCount(); ++r)
        parts.insert(q.cell(r, 0).toString());
    q.close();

    Preview p;
    for (int row = 0; row < table.rowCount(); ++row) {
        QString id, name, priceText;
        try {
            if (table.isDeleted(row)) continue;
            id = table.text(row, m.number);
            name = table.text(row, m.name);
            priceText = table.text(row, m.price);
        } catch (const FileError& e) {
            p.unreadable.push_back({row + 1, e.message()});
            continue;
        }
        const ParsedPrice price = parsePrice(priceText);
        if (id.isEmpty()) {
            p.unreadable.push_back({row + 1, QStringLiteral("нет номера")});
            continue;
        }
        if (!price.ok) {
            p.unreadable.push_back(
                {row + 1, QStringLiteral("цена \"%1\" не является числом").arg(priceText)});
            continue;
        }
        const OldPrice old = prices.value(id, {false, 0});
        Change c{id, name, old.present, old.value, price.value};
        prices.insert(id, {true, price.value});
        if (!parts.contains(keyForm(id))) {
            p.notFound.push_back(c);
            continue;
        }
        if (c.hasPercent()) {
            ++p.compared;
            if (std::abs(c.percent()) > 50) ++p.bigChanges;
        }
        if (old.present && old.value == price.value)
            ++p.unchanged;
        else
            p.changes.push_back(c);
    }
    return p;
}

} // namespace PricePreview
