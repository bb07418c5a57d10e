#pragma once

#include <QString>
#include <optional>
#include <vector>

class TDM;

// Basket files: one Paradox table per file, ‹table›.db, with the fields N (long), ID and Name
// (alpha 100), K (long), V, Price and PriceZ (number), in that order, text in code page 1251.
namespace BasketFile {

// One line of a basket file. A price the file leaves empty is std::nullopt.
struct Line {
    int n = 0;
    QString id;
    QString name;
    int k = 0;
    double v = 0;
    std::optional<double> price;
    std::optional<double> priceZ;
};

// A chosen path split as the save and open commands use it. When the path holds no ".db",
// ".db" is appended; the table name is the last component up to its first ".db"; the
// directory is everything before the last component, with its trailing "/".
struct Location {
    QString chosen; // the chosen path, with ".db" appended when it had none
    QString dir;
    QString table;
    QString path() const { return dir + table + QStringLiteral(".db"); }
};
Location split(const QString& chosenPath);

// Reads and checks the whole file. Throws FileError, naming the file, when it is missing,
// unreadable, truncated or not a basket table.
std::vector<Line> read(const QString& path);

// What writing had to change to fit the file.
struct WriteReport {
    int unencodable = 0; // lines with characters code page 1251 cannot hold, written as "?"
    int cut = 0;         // lines whose number or name was cut to the field's 100 characters
};

// Writes the lines into a new file beside path and puts it in path's place only when it is
// complete, so a failure leaves the old file as it was. Throws FileError naming the file.
WriteReport write(const QString& path, const std::vector<Line>& lines);

// The basket to a file: the lines of Order_ in N order, Price and PriceZ when the basket has
// those columns (empty otherwise).
WriteReport saveBasket(TDM& dm, const QString& path);

// A file into the basket: reads the whole file first, then replaces the lines of Order_ in one
// transaction. Price and PriceZ go only into the basket columns that exist; the key form is
// made from ID. A bad file leaves the basket as it was.
void loadBasket(TDM& dm, const QString& path);

} // namespace BasketFile
