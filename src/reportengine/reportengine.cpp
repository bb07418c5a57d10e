#include "reportengine/reportengine.h"

#include "data/connection.h"
#include "data/dialect.h"
#include "data/textfmt.h"
#include "data/tquery.h"

#include <QLocale>
#include <cmath>

ReportEngine::ReportEngine(Connection& connection)
    : db(connection), master(std::make_unique<TQuery>(connection, QStringLiteral("mQuery"))) {}

ReportEngine::~ReportEngine() = default;

// The evaluator is made on the first report, not at the program's start.
ReportScript& ReportEngine::js() {
    if (!script) {
        script = std::make_unique<ReportScript>(
            [this](const QString& name, QVariant& value) { return resolve(name, value); },
            [this](const QString& name, const QStringList& args, QVariant& result) {
                return call(name, args, result);
            });
        if (timeLimit > 0) script->setTimeLimit(timeLimit);
    }
    return *script;
}

void ReportEngine::setTimeLimit(int milliseconds) {
    timeLimit = milliseconds;
    if (script) script->setTimeLimit(milliseconds);
}

void ReportEngine::loadFromTable(const QString& table, int number) {
    TQuery q(db, QStringLiteral("template"));
    q.add(QStringLiteral("select * from ") + table + QStringLiteral(" where ") +
          Dialect::IndexColumn + QStringLiteral(" = ") + QString::number(number));
    q.open();
    const QString title = QStringLiteral("Шаблон %1 таблицы %2").arg(number).arg(table);
    if (q.isEmpty())
        throw TemplateError(QStringLiteral("%1 отсутствует: в таблице нет строки с номером %2.")
                                .arg(title)
                                .arg(number));
    const QVariant stored = q.cell(0, 1);
    const QString text = stored.typeId() == QMetaType::QByteArray
                             ? QString::fromUtf8(stored.toByteArray())
                             : stored.toString();
    if (text.trimmed().isEmpty()) throw TemplateError(title + QStringLiteral(" пуст."));
    loadFromText(text, title);
}

void ReportEngine::loadFromText(const QString& text, const QString& title) {
    auto t = std::make_unique<ReportTemplate>(parseTemplate(text, title));
    if (!t->name.isEmpty()) t->title = QStringLiteral("%1 («%2»)").arg(title, t->name);
    // Every expression is compiled now, so a fault shows when the template is chosen.
    for (const auto& band : t->bands)
        for (const TemplatePiece& p : band)
            if (p.expression) {
                try {
                    js().compile(p.text);
                } catch (const ScriptError& e) {
                    throw TemplateError(templatePlace(
                        t->title, p.line + e.line() - 1, p.column,
                        QStringLiteral("ошибка в выражении «%1»: %2").arg(p.text, e.message())));
                }
            }
    tmpl = std::move(t);
}

bool ReportEngine::resolve(const QString& name, QVariant& value) {
    if (getValue && getValue(name, value)) return true;
    if (row >= 0 && master->active()) {
        const int column = master->fieldIndex(name);
        if (column >= 0) {
            value = master->cell(row, column);
            return true;
        }
    }
    const QString n = name.toUpper();
    if (n == QLatin1String("LINE") && row >= 0) {
        value = row + 1;
        return true;
    }
    if (n == QLatin1String("DATE")) {
        value = TodayStr();
        return true;
    }
    if (pageNo > 0 && (n == QLatin1String("PAGE") || n == QLatin1String("PAGES"))) {
        value = n == QLatin1String("PAGE") ? pageNo : pageTotal;
        return true;
    }
    return false;
}

QVariant ReportEngine::aggregate(const QString& function, const QStringList& args) {
    const QString key = function + QLatin1Char('\n') + args.join(QLatin1Char('\n'));
    const auto found = aggregates.constFind(key);
    if (found != aggregates.constEnd()) return *found;
    if (function != QLatin1String("COUNT") && args.size() != 1)
        throw ScriptError(QStringLiteral("%1 ожидает одно выражение").arg(function));
    const int rows = master->active() ? master->recordCount() : 0;
    const int savedRow = row;
    double total = 0;
    int counted = 0;
    bool any = false;
    for (row = 0; row < rows; ++row) {
        if (args.isEmpty()) {
            ++counted;
            continue;
        }
        QVariant v;
        try {
            v = js().evaluate(args[0]);
        } catch (...) {
            row = savedRow;
            throw;
        }
        if (function == QLatin1String("COUNT")) {
            if (!reportText(v).isEmpty()) ++counted;
            continue;
        }
        const double x = v.toDouble();
        if (function == QLatin1String("SUM"))
            total += x;
        else if (!any || (function == QLatin1String("MIN") ? x < total : x > total))
            total = x;
        any = true;
    }
    row = savedRow;
    const QVariant result =
        function == QLatin1String("COUNT") ? QVariant(counted) : QVariant(total);
    aggregates.insert(key, result);
    return result;
}

bool ReportEngine::call(const QString& name, const QStringList& args, QVariant& result) {
    const QString n = name.toUpper();
    if (n == QLatin1String("SUM") || n == QLatin1String("COUNT") || n == QLatin1String("MIN") ||
        n == QLatin1String("MAX")) {
        result = aggregate(n, args);
        return true;
    }
    if (n == QLatin1String("NUM")) {
        if (args.isEmpty() || args.size() > 2)
            throw ScriptError(QStringLiteral("NUM ожидает число и число знаков после запятой"));
        const QVariant x = js().evaluate(args[0]);
        const int decimals = args.size() > 1 ? js().evaluate(args[1]).toInt() : 2;
        result = QLocale().toString(x.toDouble(), 'f', qBound(0, decimals, 10));
        return true;
    }
    return userFunction && userFunction(name, args, js(), result);
}

QString ReportEngine::fill(Band band) {
    QString html;
    for (const TemplatePiece& p : tmpl->band(band)) {
        if (!p.expression) {
            html += p.text;
            continue;
        }
        try {
            QString text = reportText(js().evaluate(p.text)).toHtmlEscaped();
            html += text.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
        } catch (const ScriptError& e) {
            const QString where =
                dataRow > 0 ? QStringLiteral(" (строка данных %1)").arg(dataRow) : QString();
            throw TemplateError(templatePlace(
                tmpl->title, p.line, p.column,
                QStringLiteral("выражение «%1»%2: %3").arg(p.text, where, e.message())));
        }
    }
    return html;
}

QString ReportEngine::fillPage(Band band, int page, int pages) {
    pageNo = page;
    pageTotal = pages;
    const QString html = fill(band);
    pageNo = 0;
    return html;
}

ReportDocument ReportEngine::prepare() {
    if (!tmpl) throw TemplateError(QStringLiteral("Шаблон отчета не загружен."));
    master->close();
    if (!masterSql.isEmpty()) {
        master->setText({masterSql});
        master->open();
    }
    aggregates.clear();
    const int rows = master->active() ? master->recordCount() : 0;

    // Title and summary see the first and the last row, as headings and totals expect.
    row = rows > 0 ? 0 : -1;
    dataRow = 0;
    QString body = QStringLiteral("<html><body>") + fill(Band::Title);
    if (tmpl->has(Band::Row)) {
        body += QStringLiteral("<table ") + tmpl->tableAttributes + QStringLiteral(">");
        if (tmpl->has(Band::TableHeader))
            body +=
                QStringLiteral("<thead>") + fill(Band::TableHeader) + QStringLiteral("</thead>");
        body += QStringLiteral("<tbody>");
        for (row = 0; row < rows; ++row) {
            dataRow = row + 1;
            body += fill(Band::Row);
        }
        dataRow = 0;
        body += QStringLiteral("</tbody></table>");
    }
    row = rows > 0 ? rows - 1 : -1;
    body += fill(Band::Summary) + QStringLiteral("</body></html>");

    ReportDocument::PageBand header, footer;
    if (tmpl->has(Band::PageHeader))
        header = [this](int page, int pages) { return fillPage(Band::PageHeader, page, pages); };
    if (tmpl->has(Band::PageFooter))
        footer = [this](int page, int pages) { return fillPage(Band::PageFooter, page, pages); };
    const QString title = tmpl->name.isEmpty() ? tmpl->title : tmpl->name;
    ReportDocument doc(title, tmpl->page, tmpl->font, body, header, footer);
    row = -1;
    return doc;
}
