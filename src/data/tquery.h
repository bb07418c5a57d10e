#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

class Connection;

// A display field declared on a query: it gives a result column its display format. The
// component name is unique among the fields of one query.
struct TField {
    QString componentName;
    QString fieldName;
    QString displayFormat; // "0.00", "0.000" or empty (shortest general form)
};

// A query object of the data module: its SQL text is cleared and rebuilt line by line at run
// time, then opened (a select, whose rows it holds while open) or executed. It keeps a current
// row and reports moves, opening and closing through its signals.
class TQuery : public QObject {
    Q_OBJECT
public:
    TQuery(Connection& db, const QString& name, QObject* parent = nullptr);

    // The statement.
    void clear();
    void add(const QString& line);
    void setText(const QStringList& lines);
    QString text() const;

    // Opens the select in the text; moves to the first row. Throws DbError.
    void open();
    // Runs the statement in the text. Throws DbError.
    void execSQL();
    void close();
    bool active() const { return isOpen; }

    // Rows and the current row.
    int recordCount() const { return int(rows.size()); }
    bool isEmpty() const { return rows.empty(); }
    int recNo() const { return rows.empty() ? 0 : cur + 1; } // 1-based, 0 when empty
    bool eof() const { return atEof; }
    bool bof() const { return atBof; }
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance); // returns the distance moved
    void moveTo(int row);     // 0-based row, clamped

    // Columns of the open result, compared without regard to case.
    QStringList fieldNames() const { return names; }
    int fieldIndex(const QString& field) const;
    bool hasField(const QString& field) const { return fieldIndex(field) >= 0; }

    // Values of the current row; an unknown field throws DbError.
    QVariant value(const QString& field) const;
    bool isNull(const QString& field) const { return value(field).isNull(); }
    QString asString(const QString& field) const; // shortest general form for numbers
    double asFloat(const QString& field) const;
    int asInteger(const QString& field) const;
    bool asBoolean(const QString& field) const;
    // The value as the grids show it, with the display format declared for the field.
    QString displayText(const QString& field) const;

    // Cells of the whole result, for grids.
    const QVariant& cell(int row, int column) const { return rows[size_t(row)][size_t(column)]; }
    QString displayText(int row, int column) const;

    // Declared display fields. addField throws DbError on a duplicate component name.
    void addField(const TField& field);
    void removeField(const QString& componentName);
    void renameField(const QString& componentName, const TField& renamed);
    const std::vector<TField>& fields() const { return declared; }
    const TField* declaredField(const QString& fieldName) const;

    const QString& objectNameText() const { return queryName; }

Q_SIGNALS:
    void afterOpen();
    void afterClose();
    void afterScroll();
    // The rows were replaced (open or close); grids reset their models.
    void rowsReset();

private:
    void moved(int row);
    int column(const QString& field) const; // throws

    Connection& db;
    QString queryName;
    QStringList sql;
    bool isOpen = false;
    QStringList names;
    std::vector<std::vector<QVariant>> rows;
    int cur = 0;
    bool atEof = true;
    bool atBof = true;
    std::vector<TField> declared;
};
