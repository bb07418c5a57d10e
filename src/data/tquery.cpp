#include "data/tquery.h"

#include "data/connection.h"
#include "data/dberror.h"
#include "data/dbmessage.h"
#include "data/dialect.h"
#include "data/textfmt.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QThreadPool>
#include <algorithm>
#include <climits>
#include <sqlite3.h>

namespace {

bool isNumber(const QVariant& v) {
    const int id = v.typeId();
    return id == QMetaType::Double || id == QMetaType::Float;
}

QString plainText(const QVariant& v) {
    if (v.isNull()) return QString();
    if (isNumber(v)) return Fmt::floatToStr(v.toDouble());
    return v.toString();
}

// Rows read at a time while the program is idle, and how long one turn may take: the program
// answers the user between turns, and each turn costs the grid a repaint of its scroll bar and
// the count (3 ms a turn; with 8 ms turns a third of the time went to them).
constexpr int StepRows = 64;
constexpr int IdleTurnMs = 25;

// A result this large takes tens of milliseconds to free, which a new search would wait for.
constexpr size_t LargeResult = 4096;

} // namespace

TQuery::TQuery(Connection& connection, const QString& name, QObject* parent)
    : QObject(parent), db(connection), queryName(name) {
    setObjectName(name);
    idle.setSingleShot(true);
    idle.setInterval(0);
    connect(&idle, &QTimer::timeout, this, [this] { readRows(-1, IdleTurnMs); });
    // A large result closed is freed beside the program's work, once it has drawn what it does
    // now (the next result's first rows).
    discardLater.setSingleShot(true);
    discardLater.setInterval(0);
    connect(&discardLater, &QTimer::timeout, this, [this] {
        QThreadPool::globalInstance()->start([old = std::move(stale)]() mutable { old.clear(); });
        stale.clear();
    });
}

TQuery::~TQuery() {
    finishReading();
}

void TQuery::setIncremental(int first) {
    firstRows = std::max(0, first);
}

void TQuery::clear() {
    close();
    sql.clear();
}

void TQuery::add(const QString& line) {
    close();
    sql << line;
}

void TQuery::setText(const QStringList& lines) {
    close();
    sql = lines;
}

QString TQuery::text() const {
    return sql.join(QLatin1Char('\n'));
}

// A select read straight through SQLite: the driver copies every value once more on the way,
// a fifth of the time of a large result. The values are those the driver gives: 64-bit
// integers, doubles, text, byte arrays, and a null text for NULL.
class StatementReader {
public:
    StatementReader(Connection& db, const QString& sql) : db(db) {
        const QByteArray text = sql.toUtf8();
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(db.handle(), text.constData(), int(text.size()), &st, &tail) !=
            SQLITE_OK)
            fail();
        if (!st) throw DbError(QStringLiteral("Пустой запрос"));
        if (tail && !QByteArray(tail).trimmed().isEmpty()) {
            sqlite3_finalize(st);
            throw DbError(QStringLiteral("Несколько операторов SQL в одном запросе: ") + sql);
        }
    }
    ~StatementReader() { sqlite3_finalize(st); }
    StatementReader(const StatementReader&) = delete;
    StatementReader& operator=(const StatementReader&) = delete;

    QStringList columns() const {
        QStringList out;
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            out << QString::fromUtf8(sqlite3_column_name(st, i));
        return out;
    }
    bool next(std::vector<QVariant>& row) {
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_DONE) return false;
        if (rc != SQLITE_ROW) fail();
        for (size_t i = 0; i < row.size(); ++i)
            row[i] = value(int(i));
        return true;
    }

private:
    QVariant value(int i) const {
        switch (sqlite3_column_type(st, i)) {
        case SQLITE_INTEGER:
            return QVariant(qlonglong(sqlite3_column_int64(st, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(st, i));
        case SQLITE_NULL:
            return QVariant(QMetaType::fromType<QString>());
        case SQLITE_BLOB:
            return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)),
                                       sqlite3_column_bytes(st, i)));
        default:
            // Stored as UTF-8: one conversion, without SQLite's own to UTF-16 first.
            return QVariant(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                  sqlite3_column_bytes(st, i)));
        }
    }
    [[noreturn]] void fail() const {
        DbMessage::raise(db.path(), sqlite3_extended_errcode(db.handle()),
                         QString::fromUtf8(sqlite3_errmsg(db.handle())));
    }

    Connection& db;
    sqlite3_stmt* st = nullptr;
};

void TQuery::open() {
    close();
    auto statement =
        std::make_unique<StatementReader>(db, Dialect::indexFriendly(text(), db.nameIndex));
    const QStringList cols = statement->columns();
    std::vector<std::vector<QVariant>> data;
    std::vector<QVariant> row(static_cast<size_t>(cols.size()));
    bool more = true;
    while ((firstRows == 0 || int(data.size()) < firstRows) && (more = statement->next(row)))
        data.push_back(row);
    names = cols;
    rows = std::move(data);
    isOpen = true;
    cur = 0;
    atBof = true;
    atEof = rows.empty();
    if (more) {
        reader = std::move(statement);
        db.holdReader(this, [this] { readRows(-1, 0); });
        idle.start();
    }
    Q_EMIT rowsReset();
    Q_EMIT afterOpen();
    Q_EMIT afterScroll();
}

void TQuery::execSQL() {
    close();
    db.finishReaders();
    QSqlQuery q(db.database());
    if (!q.exec(Dialect::indexFriendly(text(), db.nameIndex)))
        DbMessage::raise(db.path(), q.lastError());
}

void TQuery::readRows(int count, int turnMs) {
    if (!reader) return;
    const int first = int(rows.size());
    QElapsedTimer clock;
    clock.start();
    std::vector<QVariant> row(static_cast<size_t>(names.size()));
    QString failure;
    try {
        for (int n = 0; count < 0 || n < count; ++n) {
            if (!reader->next(row)) {
                finishReading();
                break;
            }
            rows.push_back(row);
            if (turnMs > 0 && n % StepRows == StepRows - 1 && clock.elapsed() >= turnMs) break;
        }
    } catch (const CatalogError& e) {
        finishReading();
        failure = e.message();
    }
    if (reader) idle.start();
    if (int(rows.size()) > first) Q_EMIT rowsAppended(first, int(rows.size()) - 1);
    if (!failure.isEmpty()) Q_EMIT readFailed(failure);
}

void TQuery::readMore(int count) {
    readRows(count, 0);
}

void TQuery::readTo(int row) const {
    // Reading on changes what is read, not the result: the count and the rows are the same.
    if (reader && row >= int(rows.size()))
        const_cast<TQuery*>(this)->readRows(row == INT_MAX ? -1 : row + 1 - int(rows.size()), 0);
}

void TQuery::finishReading() {
    if (!reader) return;
    reader.reset();
    db.releaseReader(this);
    idle.stop();
}

int TQuery::recordCount() const {
    readTo(INT_MAX);
    return int(rows.size());
}

void TQuery::close() {
    finishReading();
    if (!isOpen) return;
    isOpen = false;
    if (rows.size() >= LargeResult) {
        stale.push_back(std::move(rows));
        discardLater.start();
    }
    rows.clear();
    names.clear();
    cur = 0;
    atBof = atEof = true;
    Q_EMIT rowsReset();
    Q_EMIT afterClose();
}

void TQuery::moved(int row) {
    cur = row;
    Q_EMIT afterScroll();
}

void TQuery::first() {
    atBof = true;
    atEof = rows.empty();
    if (!rows.empty()) moved(0);
}

void TQuery::last() {
    readTo(INT_MAX);
    atEof = true;
    atBof = rows.empty();
    if (!rows.empty()) moved(int(rows.size()) - 1);
}

void TQuery::next() {
    atBof = false;
    if (reader && cur + 1 >= int(rows.size())) readRows(StepRows, 0);
    if (cur + 1 >= int(rows.size())) {
        atEof = true;
        return;
    }
    atEof = false;
    moved(cur + 1);
}

void TQuery::prior() {
    atEof = false;
    if (cur <= 0) {
        atBof = true;
        return;
    }
    atBof = false;
    moved(cur - 1);
}

int TQuery::moveBy(int distance) {
    if (distance > 0) readTo(distance >= INT_MAX - cur ? INT_MAX : cur + distance);
    if (rows.empty()) return 0;
    const int target = std::clamp(cur + distance, 0, int(rows.size()) - 1);
    const int done = target - cur;
    atBof = distance < 0 && done != distance;
    atEof = distance > 0 && done != distance;
    if (done != 0) moved(target);
    return done;
}

void TQuery::moveTo(int row) {
    readTo(row);
    if (rows.empty()) return;
    const int target = std::clamp(row, 0, int(rows.size()) - 1);
    atBof = atEof = false;
    if (target != cur) moved(target);
}

int TQuery::fieldIndex(const QString& field) const {
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(field, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int TQuery::column(const QString& field) const {
    const int i = fieldIndex(field);
    if (i < 0) throw DbError(QStringLiteral("%1: поле «%2» не найдено").arg(queryName, field));
    return i;
}

QVariant TQuery::value(const QString& field) const {
    const int c = column(field);
    if (rows.empty()) return QVariant();
    return rows[size_t(cur)][size_t(c)];
}

QString TQuery::asString(const QString& field) const {
    return plainText(value(field));
}

double TQuery::asFloat(const QString& field) const {
    return value(field).toDouble();
}

int TQuery::asInteger(const QString& field) const {
    return value(field).toInt();
}

bool TQuery::asBoolean(const QString& field) const {
    return value(field).toBool();
}

QString TQuery::displayText(int row, int column) const {
    const QVariant& v = cell(row, column);
    if (v.isNull()) return QString();
    const TField* f = declaredField(names[column]);
    if (f && f->displayFormat == Fmt::DateFormat) return Dialect::shownDate(v.toString());
    const int id = v.typeId();
    const bool numeric = isNumber(v) || id == QMetaType::Int || id == QMetaType::LongLong;
    if (f && !f->displayFormat.isEmpty() && numeric)
        return Fmt::formatFloat(f->displayFormat, v.toDouble());
    return plainText(v);
}

QString TQuery::displayText(const QString& field) const {
    const int c = column(field);
    if (rows.empty()) return QString();
    return displayText(cur, c);
}

void TQuery::addField(const TField& field) {
    for (const TField& f : declared)
        if (f.componentName.compare(field.componentName, Qt::CaseInsensitive) == 0)
            throw DbError(
                QStringLiteral("Компонент с именем %1 уже существует").arg(field.componentName));
    declared.push_back(field);
}

void TQuery::removeField(const QString& componentName) {
    declared.erase(std::remove_if(declared.begin(), declared.end(),
                                  [&](const TField& f) {
                                      return f.componentName.compare(componentName,
                                                                     Qt::CaseInsensitive) == 0;
                                  }),
                   declared.end());
}

void TQuery::renameField(const QString& componentName, const TField& renamed) {
    for (TField& f : declared)
        if (f.componentName.compare(componentName, Qt::CaseInsensitive) == 0) f = renamed;
}

const TField* TQuery::declaredField(const QString& fieldName) const {
    for (const TField& f : declared)
        if (f.fieldName.compare(fieldName, Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}
