#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

// Where this catalogue's SQLite differs from the dialect the statements were first written in.
// Every such difference is listed here and nowhere else:
//
//  - "distinctrow" does not exist: DistinctRow is "distinct".
//  - "index" is a keyword: the column is written IndexColumn, "[index]" (a bare 'index' would
//    silently compare a string).
//  - "count(x)" names its column "count(x)": countAs() gives it the name Expr1000 the readers use.
//  - "[Order_]![V]" is written qualified("Order_", "V"), "Order_.V".
//  - Dates are stored as ISO text yyyy-mm-dd so that "between" compares them correctly; the user
//    and the statements' inputs see dd.mm.yyyy, converted by dateLiteral() and isoDate().
//  - "True" and "False" work as they are.
//  - ADD COLUMN and DROP COLUMN work as they are ("alter table T add F float", "alter table T
//    drop F"); views written with t.* follow the change at once.
//  - The built-in like folds ASCII only; registerFunctions() replaces it by one that compares
//    case-insensitively across Unicode, as the catalogue's users expect for Cyrillic names.
//  - An overridden like never uses an index. indexFriendly() (applied by TQuery to every
//    statement it runs) puts a range test before a like on a key column (N_f, SE_f, ID_f) whose
//    pattern begins with characters that have no case, so a number typed as "5012003*" finds
//    its rows through the column's index; the like still decides. A name searched with
//    wildcards is narrowed the same way through the trigram index of part names (NameIndex).
//    The statements the program builds are not changed: the query's text stays as written.
//  - A chain of several hundred "or" pieces fails ("Expression tree is too large"): long lists
//    of alternatives are tested as sets, "K in (...)" for values that have no case, and
//    foldedColumn(K) in (foldCase(...)) for the others, which compares as the like does.
//  - Journal and sync: durabilityPragmas(). The rollback journal ("journal_mode=DELETE") with
//    "synchronous=FULL": a commit is on disk in base.mdb itself before it returns, and the
//    journal is deleted when the transaction ends, so whenever the program is idle base.mdb
//    alone holds every committed change (dealers back up by copying it) and a power cut loses
//    no commit. WAL would keep recent commits in base.mdb-wal, and a WAL file cannot be opened
//    on a read-only medium; a rollback-journal file opens there for reading. The rollback
//    journal modes are a setting of the connection, not of the file, so opening changes
//    nothing for good, except that a file left in WAL by an older version is taken back out
//    of it. The price is an extra sync per commit, small beside the program's commands, which
//    each write in one transaction.
namespace Dialect {

// The pragmas set on every connection that may write, in order.
QStringList durabilityPragmas();

inline const QString DistinctRow = QStringLiteral("distinct");
inline const QString IndexColumn = QStringLiteral("[index]");

// "count(expr) AS Expr1000".
QString countAs(const QString& expr);

// "table.column".
QString qualified(const QString& table, const QString& column);

// dd.mm.yyyy -> 'yyyy-mm-dd' (quoted literal); throws CatalogError on a malformed date.
QString dateLiteral(const QString& ddmmyyyy);

// dd.mm.yyyy -> yyyy-mm-dd (for bound parameters); throws CatalogError on a malformed date.
QString isoDate(const QString& ddmmyyyy);

// yyyy-mm-dd as stored -> dd.mm.yyyy as shown; other text is returned unchanged.
QString shownDate(const QString& iso);

// The statement with "K LIKE 'p...'" on a key column K turned into
// "(K >= 'lo' AND K < 'hi' AND K LIKE 'p...')", lo being the pattern's leading run of ASCII
// characters other than letters and wildcards (at least one) and hi lo with its last character
// incremented. With nameIndex (the catalogue has NameIndex), "Name LIKE '<pattern>'" in the
// where clause of a select from Find, forFind or Detail becomes "(Name LIKE '<pattern>' AND N_f in
// (<the numbers of the names the index finds>))" where the pattern has a run of three
// characters, unless the statement names its part by "N_f='...'". Text inside literals is never
// touched.
QString indexFriendly(const QString& sql, bool nameIndex = false);

// "foldcase(column)": the column's text folded as the like compares it (registered with the
// like), to be compared with texts folded by foldCase().
QString foldedColumn(const QString& column);
QString foldCase(const QString& text);

// Registers the Unicode case-insensitive like (2 and 3 arguments) and foldcase on a connection.
void registerFunctions(sqlite3* db);

// The like used by the catalogue, exposed for tests and benchmarks: does text match pattern
// ("%" any run, "_" one character, escape if not 0), ignoring case across Unicode.
bool likeMatch(const QString& pattern, const QString& text, char32_t escape = 0);

} // namespace Dialect
