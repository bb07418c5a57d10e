#include "reportengine/reporttemplate.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const char* const bandNames[BandCount] = {"title", "page header", "table header",
                                          "row",   "summary",     "page footer"};

int bandByName(const QString& name) {
    const QString n = name.simplified().toLower();
    for (int b = 0; b < BandCount; ++b)
        if (n == QLatin1String(bandNames[b])) return b;
    return -1;
}

// The band text cut into literal HTML and {{ expressions }}.
void splitPieces(const QString& text, int firstLine, const QString& title,
                 std::vector<TemplatePiece>& out) {
    int line = firstLine, column = 1;
    int i = 0;
    const int n = int(text.size());
    auto advance = [&](int to) {
        for (; i < to; ++i) {
            if (text[i] == QLatin1Char('\n')) {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
    };
    while (i < n) {
        const int open = int(text.indexOf(QStringLiteral("{{"), i));
        if (open < 0) {
            out.push_back({text.mid(i), false, line, column});
            break;
        }
        if (open > i) out.push_back({text.mid(i, open - i), false, line, column});
        advance(open);
        const int close = int(text.indexOf(QStringLiteral("}}"), open + 2));
        if (close < 0)
            throw TemplateError(templatePlace(title, line, column,
                                              QStringLiteral("выражение «{{» не закрыто «}}»")));
        const QString expr = text.mid(open + 2, close - open - 2).trimmed();
        if (expr.isEmpty())
            throw TemplateError(
                templatePlace(title, line, column, QStringLiteral("пустое выражение")));
        out.push_back({expr, true, line, column});
        advance(close + 2);
    }
}

void readHead(ReportTemplate& t, const QString& key, const QString& value, int line) {
    auto fault = [&](const QString& what) {
        return TemplateError(templatePlace(t.title, line, 1, what));
    };
    if (key == QLatin1String("name")) {
        t.name = value;
    } else if (key == QLatin1String("page")) {
        const QStringList words = value.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& w : words) {
            if (w == QLatin1String("a4")) {
                t.page.setPageSize(QPageSize(QPageSize::A4));
            } else if (w == QLatin1String("a5")) {
                t.page.setPageSize(QPageSize(QPageSize::A5));
            } else if (w == QLatin1String("a3")) {
                t.page.setPageSize(QPageSize(QPageSize::A3));
            } else if (w == QLatin1String("portrait")) {
                t.page.setOrientation(QPageLayout::Portrait);
            } else if (w == QLatin1String("landscape")) {
                t.page.setOrientation(QPageLayout::Landscape);
            } else {
                throw fault(QStringLiteral("неизвестный формат страницы «%1»").arg(w));
            }
        }
    } else if (key == QLatin1String("margins")) {
        const QStringList words = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        double mm[4];
        bool ok = words.size() == 4;
        for (int k = 0; ok && k < 4; ++k)
            mm[k] = words[k].toDouble(&ok);
        if (!ok) throw fault(QStringLiteral("поля задаются четырьмя числами в мм"));
        t.page.setMinimumMargins(QMarginsF());
        t.page.setMargins(QMarginsF(mm[0], mm[1], mm[2], mm[3]));
    } else if (key == QLatin1String("font")) {
        const int space = int(value.lastIndexOf(QLatin1Char(' ')));
        bool ok = space > 0;
        const double size = ok ? value.mid(space + 1).toDouble(&ok) : 0;
        if (!ok || size <= 0) throw fault(QStringLiteral("шрифт задается названием и размером"));
        t.font = QFont(value.left(space).trimmed());
        t.font.setPointSizeF(size);
    } else if (key == QLatin1String("table")) {
        t.tableAttributes = value;
    } else {
        throw fault(QStringLiteral("неизвестный параметр «%1»").arg(key));
    }
}

} // namespace

QString templatePlace(const QString& title, int line, int column, const QString& what) {
    return QStringLiteral("%1: строка %2, столбец %3: %4")
        .arg(title)
        .arg(line)
        .arg(column)
        .arg(what);
}

ReportTemplate parseTemplate(const QString& text, const QString& title) {
    ReportTemplate t;
    t.title = title;
    const QStringList lines = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    static const QRegularExpression bandLine(QStringLiteral("^\\s*\\[([^\\]]*)\\]\\s*$"));
    int band = -1;
    QString body;
    int bodyLine = 0;
    auto finishBand = [&] {
        if (band >= 0) splitPieces(body, bodyLine, title, t.bands[size_t(band)]);
    };
    for (int k = 0; k < lines.size(); ++k) {
        const QString& l = lines[k];
        const QRegularExpressionMatch m = bandLine.match(l);
        if (m.hasMatch()) {
            const int b = bandByName(m.captured(1));
            if (b < 0)
                throw TemplateError(
                    templatePlace(title, k + 1, int(l.indexOf(QLatin1Char('['))) + 1,
                                  QStringLiteral("неизвестная полоса «%1»").arg(m.captured(1))));
            if (t.present[size_t(b)])
                throw TemplateError(
                    templatePlace(title, k + 1, 1,
                                  QStringLiteral("полоса «%1» задана дважды").arg(m.captured(1))));
            finishBand();
            band = b;
            t.present[size_t(b)] = true;
            body.clear();
            bodyLine = k + 2;
            continue;
        }
        if (band >= 0) {
            body += l + QLatin1Char('\n');
            continue;
        }
        const QString trimmed = l.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'))) continue;
        const int colon = int(trimmed.indexOf(QLatin1Char(':')));
        if (colon <= 0)
            throw TemplateError(templatePlace(title, k + 1, 1,
                                              QStringLiteral("ожидается «параметр: значение» "
                                                             "или полоса в квадратных скобках")));
        readHead(t, trimmed.left(colon).trimmed().toLower(), trimmed.mid(colon + 1).trimmed(),
                 k + 1);
    }
    finishBand();
    return t;
}
