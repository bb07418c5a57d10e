#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <memory>
#include <vector>

class Connection;
class StatementReader;

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
//
// An incremental query reads its first rows on opening and the rest while the program is idle,
// so a large result is on the screen before it is all read. Whatever needs a row not read yet
// (the count, the last row, a move past the rows read) reads on to it first.
class TQuery : public QObject {
    Q_OBJECT
public:
    TQuery(Connection& db, const QString& name, QObject* parent = nullptr);
    ~TQuery() override;

    // Reads firstRows rows on opening and the rest while idle; 0 (the default) reads all.
    void setIncremental(int firstRows);

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

    // Rows and the current row. The count reads the rest of an incremental result.
    int recordCount() const;
    bool isEmpty() const { return rows.empty(); }
    // Rows read so far, and whether they are all.
    int rowsRead() const { return int(rows.size()); }
    bool complete() const { return !reader; }
    // Reads up to count more rows of an incremental result (all with -1).
    void readMore(int count);
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

    // Cells of the rows read, for grids.
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
    // Rows first..last (0-based) of an incremental result were read.
    void rowsAppended(int first, int last);
    // Reading the rest of an incremental result failed: the rows read stay, the rest is lost.
    void readFailed(const QString& message);

private:
    void moved(int row);
    int column(const QString& field) const; // throws
    // Reads count rows (all with -1), for at most turnMs when it is not 0.
    void readRows(int count, int turnMs);
    // Reads on until row (0-based, INT_MAX for all) is read or the result ends.
    void readTo(int row) const;
    void finishReading();

    Connection& db;
    QString queryName;
    QStringList sql;
    bool isOpen = false;
    QStringList names;
    std::vector<std::vector<QVariant>> rows;
    std::unique_ptr<StatementReader> reader; // open while rows remain to be read
    int firstRows = 0;
    QTimer idle; // reads the rest of an incremental result
    std::vector<std::vector<std::vector<QVariant>>> stale; // large results closed, to be freed
    QTimer discardLater;
    int cur = 0;
    bool atEof = true;
    bool atBof = true;
    std::vector<TField> declared;
};
