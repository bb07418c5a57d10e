#pragma once

#include <QString>
#include <QStringList>

class Connection;

// The catalogue's tables, views and indexes, and the rows a new catalogue is delivered with.
//
// Base tables of our own behind the views: Drawing (one row per drawing, numbered 1..n within
// its modification in group order), ModGroup (the groups of a modification) and Place (the
// numbered places on a drawing with their coordinates in percent). The views Find, forFind,
// PicPos, PicGr and GrMOD are built over them and the catalogue tables; they take the price
// columns of Price through p.*, so a price column added or dropped later shows in them at once.
namespace Schema {

// Creates every table, view and index and the delivered rows on an empty database.
void create(Connection& db);

// Creates a new, empty catalogue file at path (which must not exist yet).
void createCatalogue(const QString& path);

// Makes the indexes added since older catalogues were made, where the file can be written.
void addMissingIndexes(Connection& db);

// The tables a catalogue must have that the database lacks (empty for a catalogue).
QStringList missingTables(Connection& db);

} // namespace Schema
