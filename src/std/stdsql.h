#pragma once

#include <QString>
#include <QStringList>

// The standardized-items panel's and the printed sheet's statements.
namespace StdSql {

// The items whose subgroup (PodName) or full name starts with the typed text, of every
// modification.
QStringList bySubgroup(const QString& typed);
QStringList byFullName(const QString& typed);

// The sheet's scratch table stdrep: emptied, then one row per printed parameter.
QString clearSheet();
QString sheetRow(const QString& name, const QString& value);
QStringList sheetRows();

} // namespace StdSql
