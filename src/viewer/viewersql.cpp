#include "viewer/viewersql.h"

#include "data/dialect.h"
#include "data/sql.h"

namespace ViewerSql {

QStringList markers(int picture, int modif) {
    return {QStringLiteral("select %1 *").arg(Dialect::DistinctRow), QStringLiteral("from PicPos"),
            QStringLiteral("where (PicPos.Picture=%1) and modif=%2").arg(picture).arg(modif),
            QStringLiteral("order by Position")};
}

QStringList drawing(int picture, int modif) {
    return {QStringLiteral("select * from PicGr where (modif=%1) and (Picture=%2)")
                .arg(modif)
                .arg(picture)};
}

QStringList partAt(int modif, int picture, int position) {
    return {QStringLiteral("select * from Find where (modif=%1) and (Picture=%2) and "
                           "(Position=%3)")
                .arg(modif)
                .arg(picture)
                .arg(position)};
}

QStringList partOnDrawing(int picture, const QString& n) {
    return {QStringLiteral("select * from Find where Picture=%1 and N=%2")
                .arg(picture)
                .arg(Sql::quote(n))};
}

QStringList membersOf(int picture, const QString& se) {
    return {QStringLiteral("select * from Find"),
            QStringLiteral("where (Picture=%1) and (SE=%2)").arg(picture).arg(Sql::quote(se))};
}

QStringList standardOf(int modif, const QString& nf) {
    return {QStringLiteral("select * from STD where (modif=%1) and (N_f=%2)")
                .arg(modif)
                .arg(Sql::quote(nf))};
}

QStringList standardOf(const QString& nf) {
    return {QStringLiteral("select * from STD where N_f=%1").arg(Sql::quote(nf))};
}

QStringList treeGroups(const QString& modFilter) {
    return {QStringLiteral("select GrMOD.*, (select count(*) from Drawing w where "
                           "w.modif=GrMOD.modif and w.indexGr=GrMOD.indexGr) as Drawings"),
            QStringLiteral("from GrMOD where ") + modFilter,
            QStringLiteral("order by modif, indexGr")};
}

QStringList treeDrawings(int modif, int indexGr) {
    return {QStringLiteral("select PicName from PicGr where modif=%1 and indexGr=%2")
                .arg(modif)
                .arg(indexGr),
            QStringLiteral("order by PicN")};
}

} // namespace ViewerSql
