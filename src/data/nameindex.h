#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Connection;

// The index of part names that answers name searches with wildcards ("*втулка*") without
// reading every occurrence: an FTS5 table with the trigram tokenizer, DetailNames (Name, N_f),
// holding one row per Detail row, kept by triggers on Detail. It only narrows the rows: the like
// still decides, so a search finds exactly what it finds without the index.
//
// The names are indexed folded by the like's own folding (foldcase, Dialect), and the searched
// text folded the same way, so the index finds every name the like matches: the trigram
// tokenizer's folding differs from it for a few letters (old Cyrillic forms of в, о, т, ...).
// The triggers therefore need foldcase: a program that writes Detail without it is refused.
//
// Its rows are found again by name and number, not by Detail's rowid, which VACUUM may change
// in a table without an integer primary key.
namespace NameIndex {

// The table and its triggers, for a new catalogue.
QStringList schema();

// Whether the catalogue has the table and every trigger.
bool present(Connection& db);

// Removes the index and its triggers (a bulk load is faster without them: build afterwards).
void drop(Connection& db);

// Progress of a build: rows indexed so far out of total.
using Progress = std::function<void(int done, int total)>;

// Makes the index of the names already in Detail, in one transaction, reporting progress. An
// index left incomplete by other means is made again. Throws DbError (read-only or locked
// catalogue, an SQLite without FTS5).
void build(Connection& db, const Progress& progress = {});

// Whether the catalogue has the index, making it when it lacks it; false when it cannot be made
// (the name searches then read every row, as before).
bool ensure(Connection& db, const Progress& progress = {});

// The full-text query that narrows the names to those the like pattern (with "%" and "_", no
// escape) can match: every run of three or more characters between the wildcards must occur in
// the name. Empty when the pattern has no such run.
QString matchQuery(const QString& likePattern);

// The full-text query that narrows the names to those any of the patterns can match; empty when
// one of them has no run of three characters.
QString matchAny(const QStringList& likePatterns);

// "N_f in (select N_f from DetailNames where DetailNames match '<query>')".
QString numbersMatching(const QString& query);

} // namespace NameIndex
