#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// A supplier's price table: a dBase/FoxPro .dbf file with any columns, read row by row as text
// in the table's code page (the .cpg file beside it, else the language driver of its header,
// else 866).
class PriceTable {
public:
    // Opens path for reading. Throws FileError naming the file when it is missing, unreadable
    // or not a dBase table.
    explicit PriceTable(const QString& path);
    ~PriceTable();
    PriceTable(const PriceTable&) = delete;
    PriceTable& operator=(const PriceTable&) = delete;

    struct Column {
        QString name;
        char type; // the dBase type letter: C, N, F, D, L, M ...
        int width;
        int decimals;
    };
    const std::vector<Column>& columns() const { return cols; }
    QStringList columnNames() const;
    // The column's position, compared without regard to case; -1 when absent.
    int columnIndex(const QString& name) const;

    // Rows as the header counts them, deleted ones included.
    int rowCount() const { return rows; }
    bool isDeleted(int row) const;
    // The value as trimmed text, decoded. Throws FileError naming the file and the row (1-based)
    // when the row lies beyond the end of a truncated file or cannot be read.
    QString text(int row, int column) const;

    const QString& path() const { return file; }
    // The name of the code page the texts are decoded from, such as "IBM866".
    const QByteArray& codePage() const { return encoding; }

private:
    void checkRow(int row) const;

    QString file;
    struct Handle;
    std::unique_ptr<Handle> h;
    std::vector<Column> cols;
    int rows = 0;
    int completeRows = 0; // rows that the file's length really holds
    QByteArray encoding;
};

// A price as a supplier writes it: "12,50" or "12.50" is 12.5, an empty text is 0. Anything
// else is not a price (ok = false) and the row is to be skipped.
struct ParsedPrice {
    bool ok;
    double value;
};
ParsedPrice parsePrice(const QString& text);

// The decoder name for a code page as a .cpg file or a dBase header gives it ("866", "CP1251",
// "LDID/38", "UTF-8" ...). Unknown or empty: IBM866, the code page of the supplier tables.
QByteArray codecForCodePage(const QString& codePage);
