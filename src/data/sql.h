#pragma once

#include <QString>

// Literal forms of values inside assembled statements. Every text value goes through quote()
// (or escape() where a piece is built character by character), so an apostrophe typed by the
// user is stored and found as typed instead of breaking the statement.
namespace Sql {

// 'text' with every apostrophe doubled.
QString quote(const QString& text);

// The text with every apostrophe doubled, without the enclosing quotes.
QString escape(const QString& text);

// A real number as typed or displayed: the first "," becomes ".", an empty text becomes "0".
// Throws CatalogError when the text is not a number.
QString number(const QString& typed);

// True / False.
QString boolean(bool value);

} // namespace Sql
