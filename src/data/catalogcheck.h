#pragma once

#include <QString>
#include <QStringList>

class Connection;

// Checks of a catalogue's content that the program relies on from the start, made when the
// catalogue is opened so that a faulty file is refused with a message saying what is wrong
// instead of failing later on every click.
namespace CatalogCheck {

// The tables that carry a column for every price column of PriceFields.
QStringList priceTables();

// "Table.Column" for every price column named in PriceFields that one of the price tables
// lacks, in PriceFields order, then table order.
QStringList missingPriceColumns(Connection& db);

// Whether Modif has the row of the common modification (modif = 0), which every list of
// modifications leaves out.
bool hasCommonModification(Connection& db);

// Throws FileError naming the file and what is wrong when a check fails.
void verify(Connection& db);

} // namespace CatalogCheck
