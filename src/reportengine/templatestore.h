#pragma once

#include <QString>
#include <QStringList>

class Connection;

// Writing templates into a catalogue: the documents into Reports (index, template, name), the
// reference lists into the rows of app that name their data tables.

// Stores text as template number index of table ("Reports" or "app"). The template is parsed
// first, so a broken one is refused (TemplateError with its place) and nothing is written. A
// Reports row is replaced (its name taken from the template's "name:"); an app row must exist.
void storeTemplate(Connection& db, const QString& table, int index, const QString& text);

// Stores every file "<table>-<index>.txt" of dir (for example Reports-5.txt, app-0.txt) in one
// transaction: all or none. Returns the file names stored. Throws FileError, TemplateError.
QStringList storeTemplateFiles(Connection& db, const QString& dir);
