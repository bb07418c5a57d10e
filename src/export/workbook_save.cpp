// Saving a workbook: .xlsx through libxlsxwriter, and CSV.
#include "export/workbook.h"

#include "data/dberror.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cstdio>
#include <cstring>
#include <xlsxwriter.h>

namespace Sheet {

namespace {

QString writeError(const QString& path, const QString& why) {
    return QStringLiteral("Не удалось записать файл %1: %2").arg(path, why);
}

uint8_t lxwBorder(const BorderSide& side) {
    switch (side.lineStyle) {
    case Continuous:
        switch (side.weight) {
        case Hairline:
            return LXW_BORDER_HAIR;
        case Medium:
            return LXW_BORDER_MEDIUM;
        case Thick:
            return LXW_BORDER_THICK;
        default:
            return LXW_BORDER_THIN;
        }
    case Dash:
        return side.weight == Medium ? LXW_BORDER_MEDIUM_DASHED : LXW_BORDER_DASHED;
    case Dot:
        return LXW_BORDER_DOTTED;
    case Double:
        return LXW_BORDER_DOUBLE;
    default:
        return LXW_BORDER_NONE;
    }
}

// One libxlsxwriter format per distinct look, made on first use.
class Formats {
public:
    explicit Formats(lxw_workbook* book) : wb(book) {}
    lxw_format* of(const Cell& c) {
        QString key = QStringLiteral("%1|%2|%3")
                          .arg(c.bold)
                          .arg(c.interior.isValid() ? c.interior.rgb() : 0u)
                          .arg(c.numberFormat);
        for (const BorderSide& b : c.borders)
            key += QStringLiteral("|%1").arg(lxwBorder(b));
        const auto found = made.constFind(key);
        if (found != made.constEnd()) return *found;
        lxw_format* f = workbook_add_format(wb);
        if (c.bold) format_set_bold(f);
        if (c.interior.isValid()) format_set_bg_color(f, lxw_color_t(c.interior.rgb() & 0xFFFFFF));
        if (!c.numberFormat.isEmpty())
            format_set_num_format(f, c.numberFormat.toUtf8().constData());
        format_set_left(f, lxwBorder(c.borders[0]));
        format_set_top(f, lxwBorder(c.borders[1]));
        format_set_bottom(f, lxwBorder(c.borders[2]));
        format_set_right(f, lxwBorder(c.borders[3]));
        made.insert(key, f);
        return f;
    }

private:
    lxw_workbook* wb;
    QHash<QString, lxw_format*> made;
};

lxw_error writeCell(lxw_worksheet* ws, lxw_row_t row, lxw_col_t col, const Cell& c, lxw_format* f) {
    if (!c.formula.isEmpty())
        return worksheet_write_formula_num(ws, row, col, c.formula.toUtf8().constData(), f,
                                           c.cached);
    const QVariant& v = c.value;
    if (!v.isValid() || v.isNull()) return worksheet_write_blank(ws, row, col, f);
    if (v.typeId() == QMetaType::QString) {
        const QByteArray text = v.toString().toUtf8();
        // An empty text is written as an empty cell that keeps its format.
        if (text.isEmpty()) return worksheet_write_blank(ws, row, col, f);
        return worksheet_write_string(ws, row, col, text.constData(), f);
    }
    return worksheet_write_number(ws, row, col, v.toDouble(), f);
}

void writeXlsx(const Worksheet& sheet, const QString& file) {
    lxw_workbook* wb = workbook_new(QFile::encodeName(file).constData());
    if (!wb) throw FileError(QStringLiteral("библиотека не создала книгу"));
    lxw_worksheet* ws = workbook_add_worksheet(wb, "Лист1");
    Formats formats(wb);
    lxw_error error = LXW_NO_ERROR;
    for (const auto& [width, w] : sheet.columnWidths()) {
        const lxw_col_t col = lxw_col_t(width - 1);
        if (error == LXW_NO_ERROR) error = worksheet_set_column(ws, col, col, w, nullptr);
    }
    for (const auto& [key, c] : sheet.allCells()) {
        if (error != LXW_NO_ERROR) break;
        error =
            writeCell(ws, lxw_row_t(key.first - 1), lxw_col_t(key.second - 1), c, formats.of(c));
    }
    const lxw_error closed = workbook_close(wb); // frees the workbook in any case
    if (error == LXW_NO_ERROR) error = closed;
    if (error != LXW_NO_ERROR) throw FileError(QString::fromUtf8(lxw_strerror(error)));
}

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

void Workbook::saveXlsx(const QString& path) const {
    const QFileInfo target(path);
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.completeBaseName() +
                        QStringLiteral("-XXXXXX.xlsx"));
    if (!temp.open()) throw FileError(writeError(path, temp.errorString()));
    temp.close();
    try {
        writeXlsx(sheet, temp.fileName());
    } catch (const FileError& e) {
        throw FileError(writeError(path, e.message()));
    }
    QFile::setPermissions(temp.fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                               QFile::ReadOther);
    // rename() puts the complete file in place in one step.
    if (std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0)
        throw FileError(writeError(path, QString::fromLocal8Bit(std::strerror(errno))));
    temp.setAutoRemove(false);
}

void Workbook::saveCsv(const QString& path) const {
    QString out = QStringLiteral("\uFEFF");
    const int rows = sheet.lastRow(), columns = sheet.lastColumn();
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            if (c > 1) out += QLatin1Char(';');
            out += csvField(sheet.displayText(c, r, QLatin1Char(',')));
        }
        out += QStringLiteral("\r\n");
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw FileError(writeError(path, file.errorString()));
    file.write(out.toUtf8());
    if (!file.commit()) throw FileError(writeError(path, file.errorString()));
}

} // namespace Sheet
