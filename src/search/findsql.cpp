#include "search/findsql.h"

#include "data/sql.h"
#include "search/keyform.h"

namespace FindSql {

QString likePiece(const QString& column, const QString& value) {
    const bool several = value.contains(QLatin1Char('&'));
    const QString test = QLatin1Char('(') + column + QStringLiteral(" LIKE ");
    QString piece = QStringLiteral(" AND ") + (several ? QStringLiteral("(") : QString()) + test +
                    QLatin1Char('\'');
    const QString between = QStringLiteral("') OR ") + test + QLatin1Char('\'');
    for (const QChar c : value) {
        if (c == QLatin1Char('&'))
            piece += between;
        else if (c == QLatin1Char('*'))
            piece += QLatin1Char('%');
        else if (c == QLatin1Char('?'))
            piece += QLatin1Char('_');
        else
            piece += Sql::escape(QString(c));
    }
    piece += QStringLiteral("')");
    if (several) piece += QLatin1Char(')');
    return piece;
}

namespace {

QString modificationPiece(const QString& modName) {
    return QStringLiteral(" AND (MODName=") + Sql::quote(modName) + QLatin1Char(')');
}

} // namespace

Statement build(const Criteria& c) {
    Statement s;
    s.condition = QStringLiteral("where ") + c.modFilter;
    if (c.number) s.condition += likePiece(QStringLiteral("N_f"), keyForm(*c.number));
    if (c.assembly && !c.standardized)
        s.condition += likePiece(QStringLiteral("SE_f"), keyForm(*c.assembly));
    if (c.name) s.condition += likePiece(QStringLiteral("Name"), *c.name);
    if (c.modification && !c.standardized) {
        s.modification = modificationPiece(*c.modification);
        s.condition += s.modification;
    }
    if (c.group && !c.standardized) {
        if (!c.group->modification.isEmpty()) {
            s.modification = modificationPiece(c.group->modification);
            s.condition += s.modification;
        }
        s.condition +=
            QStringLiteral(" AND (GroupN=") + Sql::quote(c.group->number) + QLatin1Char(')');
    }
    const QString visible = QStringLiteral(" AND ") + c.modFilter + s.modification;
    if (c.standardized) {
        s.lines << QStringLiteral("select * from STD ") + s.condition + visible;
    } else {
        s.lines << QStringLiteral("select * from forFind where (N_f in (select N_f from Find ") +
                       s.condition + QStringLiteral("))") + visible
                << QStringLiteral("order by N_f, modif");
    }
    return s;
}

QStringList groupList(const QString& modName) {
    const QString withDrawings = QStringLiteral(
        "exists (select * from Drawing w where w.modif=GrMOD.modif and w.indexGr=GrMOD.indexGr)");
    if (modName.isEmpty())
        return {QStringLiteral("select * from GrMOD where ") + withDrawings,
                QStringLiteral("order by modif, indexGr")};
    return {QStringLiteral("select * from GrMOD where MODName=") + Sql::quote(modName) +
                QStringLiteral(" and ") + withDrawings,
            QStringLiteral("order by modif, indexGr")};
}

} // namespace FindSql
