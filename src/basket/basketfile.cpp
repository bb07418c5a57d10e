#include "basket/basketfile.h"

#include "data/datamod.h"
#include "data/dberror.h"
#include "data/sql.h"
#include "search/keyform.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

extern "C" {
#include <paradox.h>
}

namespace BasketFile {

namespace {

constexpr int AlphaLength = 100;

// Code page 1251 both ways, done here so that pxlib only copies bytes.
class Cp1251 {
public:
    static const Cp1251& instance() {
        static const Cp1251 table;
        return table;
    }
    // The text in code page 1251; a character the page lacks becomes "?" and sets *lossy.
    QByteArray encode(const QString& text, bool* lossy) const {
        QByteArray out;
        out.reserve(text.size());
        for (const char32_t c : text.toUcs4()) {
            const auto it = toByte.constFind(c);
            if (it == toByte.constEnd()) {
                out += '?';
                *lossy = true;
            } else {
                out += *it;
            }
        }
        return out;
    }
    QString decode(const QByteArray& bytes) const {
        QString out;
        out.reserve(bytes.size());
        for (const char b : bytes)
            out += toChar[uchar(b)];
        return out;
    }

private:
    Cp1251() {
        QStringDecoder decoder("windows-1251");
        for (int b = 0; b < 256; ++b) {
            const QString c = decoder.decode(QByteArray(1, char(b)));
            // NUL ends an alpha value and 0x98 is unassigned: neither can be written.
            const bool usable = b != 0 && c.size() == 1 && c[0] != QChar::ReplacementCharacter;
            toChar[size_t(b)] = usable ? c[0] : QChar(u'?');
            if (usable) toByte.insert(c[0].unicode(), char(b));
        }
    }
    std::array<QChar, 256> toChar{};
    QHash<char32_t, char> toByte;
};

// What pxlib reports through its error handler while one document is in use.
struct Reports {
    QString first;
};

void collect(pxdoc_t*, int, const char* msg, void* data) {
    auto* reports = static_cast<Reports*>(data);
    if (reports->first.isEmpty()) reports->first = QString::fromLocal8Bit(msg).trimmed();
}

struct DocDeleter {
    void operator()(pxdoc_t* doc) const {
        PX_close(doc);
        PX_delete(doc);
    }
};
using Doc = std::unique_ptr<pxdoc_t, DocDeleter>;

Doc newDoc(Reports& reports) {
    pxdoc_t* doc = PX_new3(collect, nullptr, nullptr, nullptr, &reports);
    if (!doc) throw FileError(QStringLiteral("Недостаточно памяти для работы с таблицей заказа"));
    return Doc(doc);
}

QString badFile(const QString& path, const QString& why) {
    return QStringLiteral("Файл %1 повреждён или не является таблицей заказа: %2").arg(path, why);
}

// A Paradox field of the file, by name.
struct FieldSlot {
    int offset = -1;
    int length = 0;
    char type = 0;
    bool present() const { return offset >= 0; }
};

bool isNull(const char* data, int length) {
    for (int i = 0; i < length; ++i)
        if (data[i] != 0) return false;
    return true;
}

bool isNumeric(char type) {
    return type == pxfLong || type == pxfShort || type == pxfAutoInc || type == pxfNumber ||
           type == pxfCurrency;
}

std::optional<double> number(pxdoc_t* doc, char* record, const FieldSlot& f) {
    char* data = record + f.offset;
    if (isNull(data, f.length)) return std::nullopt;
    if (f.type == pxfShort) {
        short value = 0;
        if (PX_get_data_short(doc, data, f.length, &value) > 0) return value;
    } else if (f.type == pxfLong || f.type == pxfAutoInc) {
        long value = 0;
        if (PX_get_data_long(doc, data, f.length, &value) > 0) return double(value);
    } else {
        double value = 0;
        if (PX_get_data_double(doc, data, f.length, &value) > 0) return value;
    }
    return std::nullopt;
}

QString alpha(const char* record, const FieldSlot& f, const QStringDecoder* other) {
    const char* data = record + f.offset;
    const QByteArray bytes(data, int(qstrnlen(data, uint(f.length))));
    if (other) return QStringDecoder(other->name()).decode(bytes);
    return Cp1251::instance().decode(bytes);
}

} // namespace

Location split(const QString& chosenPath) {
    Location l;
    l.chosen = chosenPath;
    if (!l.chosen.contains(QStringLiteral(".db"))) l.chosen += QStringLiteral(".db");
    const int slash = int(l.chosen.lastIndexOf(QLatin1Char('/')));
    l.dir = l.chosen.left(slash + 1);
    const QString last = l.chosen.mid(slash + 1);
    const int ext = int(last.indexOf(QStringLiteral(".db")));
    l.table = ext < 0 ? last : last.left(ext);
    return l;
}

std::vector<Line> read(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) throw FileError(QStringLiteral("Файл %1 не найден").arg(path));
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        throw FileError(
            QStringLiteral("Файл %1 не удаётся прочитать: %2").arg(path, probe.errorString()));
    probe.close();

    Reports reports;
    Doc doc = newDoc(reports);
    if (PX_open_file(doc.get(), QFile::encodeName(path).constData()) < 0)
        throw FileError(badFile(path, reports.first));
    const pxhead_t* head = doc->px_head;
    // pxlib trusts the header; a file cut short would yield garbage or zeros for the lost rows.
    const qint64 expected =
        qint64(head->px_headersize) + qint64(head->px_fileblocks) * head->px_maxtablesize * 1024;
    if (info.size() < expected)
        throw FileError(badFile(
            path,
            QStringLiteral("файл обрывается (%1 байт из %2)").arg(info.size()).arg(expected)));

    FieldSlot n, id, name, k, v, price, priceZ;
    const std::array<std::pair<const char*, FieldSlot*>, 7> wanted{{{"N", &n},
                                                                    {"ID", &id},
                                                                    {"Name", &name},
                                                                    {"K", &k},
                                                                    {"V", &v},
                                                                    {"Price", &price},
                                                                    {"PriceZ", &priceZ}}};
    int offset = 0;
    for (int i = 0; i < head->px_numfields; ++i) {
        const pxfield_t& f = head->px_fields[i];
        for (const auto& [fieldName, slot] : wanted)
            if (qstricmp(f.px_fname, fieldName) == 0) *slot = {offset, f.px_flen, f.px_ftype};
        offset += f.px_flen;
    }
    for (const auto& [fieldName, slot] : wanted) {
        const bool text = slot == &id || slot == &name;
        const bool optional = slot == &price || slot == &priceZ;
        if (!slot->present() && optional) continue;
        if (!slot->present())
            throw FileError(badFile(path, QStringLiteral("нет поля %1").arg(fieldName)));
        if (text ? slot->type != pxfAlpha : !isNumeric(slot->type))
            throw FileError(badFile(path, QStringLiteral("поле %1 другого типа").arg(fieldName)));
    }

    // Files of this program say 1251; a file another program wrote in 866 is read as such.
    std::unique_ptr<QStringDecoder> other;
    if (head->px_doscodepage == 866) other = std::make_unique<QStringDecoder>("IBM866");

    std::vector<Line> lines;
    const int count = PX_get_num_records(doc.get());
    lines.reserve(size_t(std::max(count, 0)));
    QByteArray record(PX_get_recordsize(doc.get()), '\0');
    for (int r = 0; r < count; ++r) {
        if (!PX_get_record(doc.get(), r, record.data()) || !reports.first.isEmpty())
            throw FileError(badFile(path, QStringLiteral("строка %1 не читается %2")
                                              .arg(r + 1)
                                              .arg(reports.first)
                                              .trimmed()));
        Line l;
        l.n = int(number(doc.get(), record.data(), n).value_or(0));
        l.id = alpha(record.constData(), id, other.get());
        l.name = alpha(record.constData(), name, other.get());
        l.k = int(number(doc.get(), record.data(), k).value_or(0));
        l.v = number(doc.get(), record.data(), v).value_or(0);
        if (price.present()) l.price = number(doc.get(), record.data(), price);
        if (priceZ.present()) l.priceZ = number(doc.get(), record.data(), priceZ);
        lines.push_back(std::move(l));
    }
    if (!reports.first.isEmpty()) throw FileError(badFile(path, reports.first));
    return lines;
}

namespace {

struct FieldSpec {
    const char* name;
    char type;
    int length;
};
constexpr std::array<FieldSpec, 7> Fields{{{"N", pxfLong, 4},
                                           {"ID", pxfAlpha, AlphaLength},
                                           {"Name", pxfAlpha, AlphaLength},
                                           {"K", pxfLong, 4},
                                           {"V", pxfNumber, 8},
                                           {"Price", pxfNumber, 8},
                                           {"PriceZ", pxfNumber, 8}}};

// A stdio stream over a growing byte array. pxlib seeks before every small read and write,
// which on a real file costs a system call each (about half a second for 1 000 lines); in
// memory it costs nothing, and the file is then written in one piece.
class MemoryStream {
public:
    MemoryStream() {
        const cookie_io_functions_t io{readFn, writeFn, seekFn, closeFn};
        stream = fopencookie(this, "w+", io);
    }
    ~MemoryStream() {
        if (stream) std::fclose(stream);
    }
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;
    FILE* file() const { return stream; }
    // The bytes written, once the stream is flushed.
    const QByteArray& bytes() const { return data; }

private:
    static MemoryStream& self(void* cookie) { return *static_cast<MemoryStream*>(cookie); }
    static ssize_t readFn(void* cookie, char* buf, size_t size) {
        MemoryStream& m = self(cookie);
        const qint64 n = std::min<qint64>(qint64(size), m.data.size() - m.pos);
        if (n <= 0) return 0;
        std::memcpy(buf, m.data.constData() + m.pos, size_t(n));
        m.pos += n;
        return ssize_t(n);
    }
    static ssize_t writeFn(void* cookie, const char* buf, size_t size) {
        MemoryStream& m = self(cookie);
        if (m.pos + qint64(size) > m.data.size()) m.data.resize(m.pos + qint64(size), '\0');
        std::memcpy(m.data.data() + m.pos, buf, size);
        m.pos += qint64(size);
        return ssize_t(size);
    }
    static int seekFn(void* cookie, off64_t* offset, int whence) {
        MemoryStream& m = self(cookie);
        const qint64 base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m.pos : m.data.size();
        if (base + *offset < 0) return -1;
        m.pos = base + *offset;
        *offset = m.pos;
        return 0;
    }
    static int closeFn(void*) { return 0; }

    FILE* stream = nullptr;
    QByteArray data;
    qint64 pos = 0;
};

QString writeError(const QString& path, const QString& why) {
    return QStringLiteral("Не удалось записать файл %1: %2").arg(path, why);
}

// The text as the field holds it: code page 1251, at most the field's length in bytes (one
// byte per character, so a cut never splits one).
QByteArray fitted(const QString& text, bool* lossy, bool* cut) {
    QByteArray bytes = Cp1251::instance().encode(text, lossy);
    if (bytes.size() > AlphaLength) {
        bytes.truncate(AlphaLength);
        *cut = true;
    }
    return bytes;
}

void writeTable(FILE* file, const QString& table, const std::vector<Line>& lines,
                WriteReport& report) {
    Reports reports;
    Doc doc = newDoc(reports);
    auto* fields =
        static_cast<pxfield_t*>(doc->malloc(doc.get(), sizeof(pxfield_t) * Fields.size(), "f"));
    if (!fields) throw FileError(QStringLiteral("Недостаточно памяти"));
    for (size_t i = 0; i < Fields.size(); ++i) {
        fields[i].px_fname = PX_strdup(doc.get(), Fields[i].name);
        fields[i].px_ftype = Fields[i].type;
        fields[i].px_flen = Fields[i].length;
        fields[i].px_fdc = 0;
    }
    if (PX_create_fp(doc.get(), fields, int(Fields.size()), file, pxfFileTypNonIndexDB) < 0)
        throw FileError(reports.first);
    // The header's table name has room for 79 bytes.
    bool ignored = false;
    const QByteArray name = Cp1251::instance().encode(table, &ignored).left(78);
    PX_set_parameter(doc.get(), "tablename", name.constData());
    PX_set_value(doc.get(), "codepage", 1251);

    QByteArray record(PX_get_recordsize(doc.get()), '\0');
    for (const Line& l : lines) {
        record.fill('\0');
        bool lossy = false, cut = false;
        QByteArray id = fitted(l.id, &lossy, &cut);
        QByteArray nm = fitted(l.name, &lossy, &cut);
        char* at = record.data();
        PX_put_data_long(doc.get(), at, 4, l.n);
        at += 4;
        PX_put_data_alpha(doc.get(), at, AlphaLength, id.data());
        at += AlphaLength;
        PX_put_data_alpha(doc.get(), at, AlphaLength, nm.data());
        at += AlphaLength;
        PX_put_data_long(doc.get(), at, 4, l.k);
        at += 4;
        PX_put_data_double(doc.get(), at, 8, l.v);
        at += 8;
        // An empty price stays all zero bytes, which the format reads as empty.
        if (l.price) PX_put_data_double(doc.get(), at, 8, *l.price);
        at += 8;
        if (l.priceZ) PX_put_data_double(doc.get(), at, 8, *l.priceZ);
        if (PX_put_record(doc.get(), record.data()) < 0 || !reports.first.isEmpty())
            throw FileError(reports.first);
        report.unencodable += lossy ? 1 : 0;
        report.cut += cut ? 1 : 0;
    }
    doc.reset(); // writes the header and the last block
    if (!reports.first.isEmpty()) throw FileError(reports.first);
}

} // namespace

WriteReport write(const QString& path, const std::vector<Line>& lines) {
    WriteReport report;
    MemoryStream memory;
    if (!memory.file()) throw FileError(writeError(path, QStringLiteral("недостаточно памяти")));
    try {
        writeTable(memory.file(), split(path).table, lines, report);
    } catch (const FileError& e) {
        throw FileError(writeError(path, e.message()));
    }
    if (std::fflush(memory.file()) != 0)
        throw FileError(writeError(path, QStringLiteral("недостаточно памяти")));
    // QSaveFile writes beside the old file and puts the new one in its place only on commit.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(memory.bytes()) != memory.bytes().size() ||
        !file.commit())
        throw FileError(writeError(path, file.errorString()));
    return report;
}

WriteReport saveBasket(TDM& dm, const QString& path) {
    TQuery q(*dm.Database, QStringLiteral("QExpTab"));
    q.add(QStringLiteral("select * from Order_ order by N"));
    q.open();
    const bool hasPrice = q.hasField(QStringLiteral("Price"));
    const bool hasPriceZ = q.hasField(QStringLiteral("PriceZ"));
    std::vector<Line> lines;
    lines.reserve(size_t(q.recordCount()));
    for (q.first(); !q.eof(); q.next()) {
        Line l;
        l.n = q.asInteger(QStringLiteral("N"));
        l.id = q.asString(QStringLiteral("ID"));
        l.name = q.asString(QStringLiteral("Name"));
        l.k = q.asInteger(QStringLiteral("K"));
        l.v = q.asFloat(QStringLiteral("V"));
        if (hasPrice && !q.isNull(QStringLiteral("Price")))
            l.price = q.asFloat(QStringLiteral("Price"));
        if (hasPriceZ && !q.isNull(QStringLiteral("PriceZ")))
            l.priceZ = q.asFloat(QStringLiteral("PriceZ"));
        lines.push_back(std::move(l));
    }
    q.close();
    return write(path, lines);
}

namespace {

QString literal(const std::optional<double>& value) {
    return value ? QString::number(*value, 'g', 17) : QStringLiteral("NULL");
}

} // namespace

void loadBasket(TDM& dm, const QString& path) {
    const std::vector<Line> lines = read(path);
    TQuery q(*dm.Database, QStringLiteral("QExpTab"));
    q.add(QStringLiteral("select * from Order_ where 0"));
    q.open();
    const bool hasPrice = q.hasField(QStringLiteral("Price"));
    const bool hasPriceZ = q.hasField(QStringLiteral("PriceZ"));
    q.close();
    QString columns = QStringLiteral("N, ID, ID_f, Name, K, V");
    if (hasPrice) columns += QStringLiteral(", Price");
    if (hasPriceZ) columns += QStringLiteral(", PriceZ");

    QStringList statements{QStringLiteral("delete from Order_")};
    statements.reserve(qsizetype(lines.size()) + 1);
    for (const Line& l : lines) {
        QString values = QStringLiteral("%1, %2, %3, %4, %5, %6")
                             .arg(l.n)
                             .arg(Sql::quote(l.id), Sql::quote(keyForm(l.id)), Sql::quote(l.name))
                             .arg(l.k)
                             .arg(QString::number(l.v, 'g', 17));
        if (hasPrice) values += QStringLiteral(", ") + literal(l.price);
        if (hasPriceZ) values += QStringLiteral(", ") + literal(l.priceZ);
        statements << QStringLiteral("insert into Order_(%1) values (%2)").arg(columns, values);
    }
    dm.Database->execAll(statements);
}

} // namespace BasketFile
