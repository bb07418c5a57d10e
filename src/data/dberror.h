#pragma once

#include <QString>
#include <stdexcept>

// An error that ends the operation in progress. The text is what the user reads in the
// message box of the general error display, so it carries the database's or file's own words.
class CatalogError : public std::runtime_error {
public:
    explicit CatalogError(const QString& message)
        : std::runtime_error(message.toStdString()), text(message) {}
    QString message() const { return text; }

private:
    QString text;
};

// A statement or connection failure reported by SQLite.
class DbError : public CatalogError {
public:
    using CatalogError::CatalogError;
};

// A file that is missing, unreadable or of the wrong kind.
class FileError : public CatalogError {
public:
    using CatalogError::CatalogError;
};
