#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The statements of the search dialog, built from the rows that take part in a search.
namespace FindSql {

// The LIKE test of one edit row on column (N_f, SE_f or Name) for a value as it enters the
// condition: "&" separates alternatives, "*" and "?" become "%" and "_", every other character
// is kept (an apostrophe doubled). Begins with " AND ". A long list (a pasted supplier's list)
// is tested as sets of values instead of a chain of LIKE tests, with the same result.
QString likePiece(const QString& column, const QString& value);

// A group entry of the search dialog as the entry carries it: its number, and its
// modification's name when the list covers every modification (empty when the list is of the
// chosen modification alone).
struct Group {
    QString number;
    QString modification;
};

// The active rows of the dialog; an empty optional is a row that does not take part.
struct Criteria {
    QString modFilter;                   // visible modifications, ((modif=0) OR ...)
    bool standardized = false;           // search the standardized items instead
    std::optional<QString> number;       // as typed
    std::optional<QString> assembly;     // as typed
    std::optional<QString> name;         // as typed
    std::optional<QString> modification; // text of the chosen modification entry
    std::optional<Group> group;          // the chosen group entry
    bool nameIndex = false;              // the catalogue has its index of part names
};

struct Statement {
    QString condition;    // "where " + the visible modifications and the pieces (SQLstr)
    QString modification; // the modification piece repeated outside the inner query (M)
    QStringList lines;    // the statement for the result query (QFind) or for QSTD
};

Statement build(const Criteria& criteria);

// The groups of one modification, or of all when modName is empty, in list order; a group
// without drawings is left out.
QStringList groupList(const QString& modName);

} // namespace FindSql
