#include "settings/modifs.h"

#include "data/sql.h"
#include "data/tquery.h"

namespace Modifs {

QStringList list() {
    return {QStringLiteral("select * from Modif where modif<>0 order by modif")};
}

QStringList setVisible(const QString& name, bool visible) {
    return {QStringLiteral("update Modif"), QStringLiteral("set Visible=") + Sql::boolean(visible),
            QStringLiteral("where MODName=") + Sql::quote(name)};
}

void reload(TQuery& q, SharedState& state) {
    q.setText(list());
    q.open();
    QVector<ModifRow> rows;
    for (; !q.eof(); q.next())
        rows.push_back({q.asInteger(QStringLiteral("modif")), q.asString(QStringLiteral("MODName")),
                        q.asBoolean(QStringLiteral("Visible")),
                        q.asInteger(QStringLiteral("PIC"))});
    q.close();
    state.setModifications(rows);
}

void store(TQuery& q, SharedState& state, const QString& name, bool visible) {
    q.setText(setVisible(name, visible));
    q.execSQL();
    reload(q, state);
}

} // namespace Modifs
