#include "reports/reportvars.h"

#include "data/dialect.h"
#include "data/textfmt.h"
#include "data/tquery.h"
#include "reportengine/reportengine.h"
#include "reports/suminwords.h"

#include <QFont>
#include <QFontMetricsF>
#include <cmath>

namespace {

enum class Source { Supplier, Buyer, Field, Count, Vat, Constant };

struct Variable {
    const char* name;
    Source source;
    const char* key; // column, component name or constant
    bool blank;      // through BlankIfEmpty
};

const Variable table[] = {
    {"Поставщик", Source::Supplier, "Name", false},
    {"Покупатель", Source::Buyer, "Name", false},
    {"Адрес_1", Source::Supplier, "Address", false},
    {"Адрес_2", Source::Buyer, "Address", false},
    {"Р_счет_н_1", Source::Supplier, "R_schet_n", false},
    {"Р_счет_н_2", Source::Buyer, "R_schet_n", false},
    {"Р_счет_1", Source::Supplier, "R_schet", false},
    {"Р_счет_2", Source::Buyer, "R_schet", false},
    {"ИНН_1", Source::Supplier, "INN", false},
    {"ИНН_2", Source::Buyer, "INN", false},
    {"БИК_1", Source::Supplier, "BIK", false},
    {"БИК_2", Source::Buyer, "BIK", false},
    {"К_счет_1", Source::Supplier, "K_schet", false},
    {"К_счет_2", Source::Buyer, "K_schet", false},
    {"ОКОНХ_1", Source::Supplier, "OKONH", false},
    {"ОКОНХ_2", Source::Buyer, "OKONH", false},
    {"ОКПО_1", Source::Supplier, "OKPO", false},
    {"ОКПО_2", Source::Buyer, "OKPO", false},
    {"Директор_1", Source::Supplier, "Director", false},
    {"Директор_2", Source::Buyer, "Director", false},
    {"ГлБух_1", Source::Supplier, "Accountant", false},
    {"ГлБух_2", Source::Buyer, "Accountant", false},
    {"Rem_1", Source::Supplier, "Rem", false},
    {"Rem_2", Source::Buyer, "Rem", false},
    {"Tel_1", Source::Supplier, "Tel", true},
    {"Tel_2", Source::Buyer, "Tel", false},
    {"Fax_1", Source::Supplier, "Fax", true},
    {"Fax_2", Source::Buyer, "Fax", false},
    {"Email_1", Source::Supplier, "Email", true},
    {"Email_2", Source::Buyer, "Email", false},
    {"Count", Source::Count, "N", false},
    {"Номер_1", Source::Field, "eInvoiceNumber", true},
    {"Дата_1", Source::Field, "eInvoiceData", true},
    {"Через_кого", Source::Field, "eInvoiceFrom", false},
    {"Основание", Source::Field, "eInvoiceOsnovanie", false},
    {"Номер_2_1", Source::Field, "eAgreementNumP", true},
    {"Номер_2_2", Source::Field, "eAgreementNumber", true},
    {"Дата_2", Source::Field, "eAgreementData", true},
    {"Дата_3", Source::Field, "meMailPData", true},
    {"Фамилия_3", Source::Field, "eMailPName1", false},
    {"Имя_3", Source::Field, "eMailPName2", false},
    {"Отчество_3", Source::Field, "eMailPName3", false},
    {"Должность_3", Source::Field, "eMailPPost", false},
    {"Фирма_3", Source::Buyer, "Name", false},
    {"Адрес_3", Source::Buyer, "Address", false},
    {"Тип_3", Source::Buyer, "Type", false},
    {"Контейнер", Source::Field, "eOpiseNumber", true},
    {"Пломба", Source::Field, "eOpiseSeal", true},
    {"НДС", Source::Vat, "", false},
    {"НСП", Source::Constant, "5", false},
    {"Дополнение_5", Source::Field, "eAccountAddition", false},
    {"Номер_5", Source::Field, "eAccountNumber", true},
    {"Дата_5", Source::Field, "eAccountData", true},
    {"Грузополучатель", Source::Field, "eAccountAddresseeF", false},
    {"Грузоотправитель", Source::Field, "eAccountCargoF", false},
    {"Дополнение_6", Source::Field, "eAccountAdditionF", false},
    {"Номер_6", Source::Field, "eAccountNumberF", true},
    {"Дата_6", Source::Field, "eAccountDataF", true},
};

const QHash<QString, const Variable*>& byName() {
    static const QHash<QString, const Variable*> index = [] {
        QHash<QString, const Variable*> h;
        for (const Variable& v : table)
            h.insert(QString::fromUtf8(v.name).toLower(), &v);
        return h;
    }();
    return index;
}

// Width or height in screen pixels of text set in a font of that family and size.
QSizeF measure(const QString& text, const QString& family, int points) {
    QFont font(family);
    font.setPointSize(qMax(1, points));
    return QFontMetricsF(font)
        .boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, text)
        .size();
}

} // namespace

QString GetString(Connection& db, int n, const QString& column, const QString& table) {
    TQuery q(db, QStringLiteral("GetString"));
    q.add(QStringLiteral("select ") + column + QStringLiteral(" from ") + table +
          QStringLiteral(" where ") + Dialect::IndexColumn + QStringLiteral(" = ") +
          QString::number(n) + QStringLiteral(";"));
    q.open();
    return q.isEmpty() ? QString() : q.asString(q.fieldNames().value(0));
}

int GetCount(Connection& db, const QString& column, const QString& table) {
    TQuery q(db, QStringLiteral("GetCount"));
    q.add(QStringLiteral("select ") + Dialect::countAs(column) + QStringLiteral(" from ") + table +
          QStringLiteral(";"));
    q.open();
    return q.asInteger(QStringLiteral("Expr1000"));
}

QString BlankIfEmpty(const QString& text) {
    return text.isEmpty() ? QString(12, QLatin1Char('_')) : text;
}

QStringList ReportVariables::names() {
    QStringList all;
    for (const Variable& v : table)
        all << QString::fromUtf8(v.name);
    return all;
}

bool ReportVariables::value(const QString& name, QVariant& value) const {
    const Variable* v = byName().value(name.toLower());
    if (!v) return false;
    const QString key = QString::fromUtf8(v->key);
    QString text;
    switch (v->source) {
    case Source::Supplier:
        text = GetString(db, SupplierIndex, key, QStringLiteral("enterprise"));
        break;
    case Source::Buyer:
        text = GetString(db, BuyerIndex, key, QStringLiteral("enterprise"));
        break;
    case Source::Field:
        text = fields.value(key);
        break;
    case Source::Vat:
        text = vatText;
        break;
    case Source::Constant:
        text = key;
        break;
    case Source::Count:
        value = GetCount(db, key, QStringLiteral("Order_"));
        return true;
    }
    value = v->blank ? BlankIfEmpty(text) : text;
    return true;
}

bool ReportVariables::function(const QString& name, const QStringList& args,
                               ReportEvaluator& evaluator, QVariant& result) const {
    const QString n = name.toUpper();
    auto arg = [&](int i) { return i < args.size() ? evaluator.evaluate(args[i]) : QVariant(); };
    if (n == QLatin1String("SUMPROPIS")) {
        const double amount = arg(0).toDouble();
        const int kind = int(std::trunc(arg(1).toDouble()));
        result = SumInWords(kind, amount);
        return true;
    }
    if (n == QLatin1String("CALCW") || n == QLatin1String("CALCH")) {
        const QSizeF size = measure(arg(0).toString(), arg(1).toString(), arg(2).toInt());
        result = int(Fmt::nearest(n == QLatin1String("CALCW") ? size.width() : size.height()));
        return true;
    }
    return false;
}

void ReportVariables::install(ReportEngine& engine) {
    engine.getValue = [this](const QString& name, QVariant& v) { return value(name, v); };
    engine.userFunction = [this](const QString& name, const QStringList& args,
                                 ReportEvaluator& evaluator, QVariant& result) {
        return function(name, args, evaluator, result);
    };
}
