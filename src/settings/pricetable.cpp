#include "settings/pricetable.h"

#include "data/dberror.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <shapefil.h>

namespace {

// shapelib reports through a hook without a context; the program reads tables on one thread.
QString lastShapelibError;

void keepError(const char* message) {
    lastShapelibError = QString::fromLocal8Bit(message).trimmed();
}

QString notATable(const QString& path, const QString& why) {
    QString text = QStringLiteral("Файл %1 не является таблицей dBase").arg(path);
    return why.isEmpty() ? text : text + QStringLiteral(": ") + why;
}

} // namespace

struct PriceTable::Handle {
    DBFHandle dbf = nullptr;
    mutable QStringDecoder decoder;
    ~Handle() {
        if (dbf) DBFClose(dbf);
    }
};

QByteArray codecForCodePage(const QString& codePage) {
    const QString cp = codePage.trimmed().toUpper();
    if (cp.startsWith(QStringLiteral("LDID/"))) {
        switch (cp.mid(5).toInt()) {
        case 0x26:
        case 0x65:
            return "IBM866";
        case 0xC9:
            return "windows-1251";
        case 0x03:
        case 0x57:
            return "windows-1252";
        case 0x01:
            return "IBM437";
        case 0x02:
            return "IBM850";
        default:
            return "IBM866";
        }
    }
    if (cp.contains(QStringLiteral("UTF-8")) || cp.contains(QStringLiteral("UTF8"))) return "UTF-8";
    static const QRegularExpression digits(QStringLiteral("(\\d+)"));
    const QString number = digits.match(cp).captured(1);
    if (number == QLatin1String("866")) return "IBM866";
    if (number.startsWith(QLatin1String("125")) && number.size() == 4)
        return "windows-" + number.toLatin1();
    if (number == QLatin1String("437") || number == QLatin1String("850"))
        return "IBM" + number.toLatin1();
    if (!cp.isEmpty() && QStringDecoder(cp.toLatin1()).isValid()) return cp.toLatin1();
    return "IBM866";
}

PriceTable::PriceTable(const QString& path) : file(path), h(std::make_unique<Handle>()) {
    const QFileInfo info(path);
    if (!info.isFile()) throw FileError(QStringLiteral("Файл %1 не найден").arg(path));
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        throw FileError(
            QStringLiteral("Файл %1 не удаётся прочитать: %2").arg(path, probe.errorString()));
    probe.close();

    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.Error = keepError;
    lastShapelibError.clear();
    h->dbf = DBFOpenLL(QFile::encodeName(path).constData(), "rb", &hooks);
    if (!h->dbf) throw FileError(notATable(path, lastShapelibError));

    const int count = DBFGetFieldCount(h->dbf);
    if (count <= 0) throw FileError(notATable(path, QStringLiteral("в таблице нет полей")));
    for (int i = 0; i < count; ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0, decimals = 0;
        if (DBFGetFieldInfo(h->dbf, i, name, &width, &decimals) == FTInvalid && width <= 0)
            throw FileError(notATable(path, QStringLiteral("поле %1 неверно описано").arg(i + 1)));
        cols.push_back({QString::fromLatin1(name).trimmed(), DBFGetNativeFieldType(h->dbf, i),
                        width, decimals});
    }
    rows = DBFGetRecordCount(h->dbf);
    // A file cut short still carries the full count in its header: only whole rows are read.
    const qint64 body = info.size() - h->dbf->nHeaderLength;
    const qint64 whole = h->dbf->nRecordLength > 0 ? body / h->dbf->nRecordLength : 0;
    completeRows = int(std::clamp<qint64>(whole, 0, rows));

    const char* cp = DBFGetCodePage(h->dbf); // a .cpg file beside the table comes first
    encoding = codecForCodePage(cp ? QString::fromLatin1(cp) : QString());
    h->decoder = QStringDecoder(encoding.constData(), QStringDecoder::Flag::Stateless);
}

PriceTable::~PriceTable() = default;

QStringList PriceTable::columnNames() const {
    QStringList out;
    for (const Column& c : cols)
        out << c.name;
    return out;
}

int PriceTable::columnIndex(const QString& name) const {
    for (size_t i = 0; i < cols.size(); ++i)
        if (cols[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

void PriceTable::checkRow(int row) const {
    if (row < 0 || row >= rows)
        throw FileError(QStringLiteral("Файл %1: строки %2 нет в таблице").arg(file).arg(row + 1));
    if (row >= completeRows)
        throw FileError(QStringLiteral("Файл %1 обрывается на строке %2").arg(file).arg(row + 1));
}

bool PriceTable::isDeleted(int row) const {
    checkRow(row);
    return DBFIsRecordDeleted(h->dbf, row) != 0;
}

QString PriceTable::text(int row, int column) const {
    checkRow(row);
    if (column < 0 || column >= int(cols.size()))
        throw FileError(QStringLiteral("Файл %1: нет поля номер %2").arg(file).arg(column + 1));
    lastShapelibError.clear();
    const char* value = DBFReadStringAttribute(h->dbf, row, column);
    if (!value)
        throw FileError(QStringLiteral("Файл %1: строка %2 не читается %3")
                            .arg(file)
                            .arg(row + 1)
                            .arg(lastShapelibError)
                            .trimmed());
    // The value lives in shapelib's buffer until the next read: decode it at once.
    return QString(h->decoder.decode(QByteArray(value))).trimmed();
}

ParsedPrice parsePrice(const QString& text) {
    QString t = text.trimmed();
    if (t.isEmpty()) return {true, 0};
    t.remove(QLatin1Char(' ')).remove(QChar(0x00A0));
    const int comma = int(t.indexOf(QLatin1Char(',')));
    if (comma >= 0) t[comma] = QLatin1Char('.');
    bool ok = false;
    const double value = t.toDouble(&ok);
    return {ok && std::isfinite(value), ok ? value : 0};
}
