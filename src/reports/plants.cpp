#include "reports/plants.h"

#include "data/connection.h"
#include "data/tquery.h"
#include "reports/contacts.h"

namespace Plants {

namespace {

// The captions of the contact fields, for the refusal of a contact.
QString contactCaption(const QString& column) {
    if (column == QLatin1String("Tel")) return QStringLiteral("Телефон");
    if (column == QLatin1String("Fax")) return QStringLiteral("Факс");
    return QStringLiteral("E-mail");
}

} // namespace

QStringList names(TQuery& q) {
    q.setText(PlantSql::list());
    q.open();
    QStringList out;
    out.reserve(q.recordCount());
    const int name = q.fieldIndex(QStringLiteral("Name"));
    for (int row = 0; row < q.recordCount(); ++row)
        out << q.cell(row, name).toString();
    q.close();
    return out;
}

bool load(TQuery& q, int position, PlantRecord& record) {
    record = PlantRecord();
    if (position < 0) return false;
    q.setText(PlantSql::atPosition(position));
    q.open();
    const bool found = !q.isEmpty();
    if (found) {
        record.name = q.asString(QStringLiteral("Name"));
        for (const QString& c : PlantSql::columns())
            record.fields.insert(c, q.asString(c));
    }
    q.close();
    return found;
}

int indexOf(TQuery& q, const QString& name) {
    q.setText(PlantSql::byName(name));
    q.open();
    const int index = q.isEmpty() ? 0 : q.asInteger(QStringLiteral("Index"));
    q.close();
    return index;
}

PlantRecord packed(const PlantRecord& typed) {
    PlantRecord stored = typed;
    for (const QString& c : PlantSql::contactColumns())
        stored.fields.insert(c, PackContacts(typed.field(c), contactCaption(c)));
    return stored;
}

PlantRecord unpacked(const PlantRecord& stored) {
    PlantRecord shown = stored;
    for (const QString& c : PlantSql::contactColumns())
        shown.fields.insert(c, UnpackContacts(stored.field(c)));
    return shown;
}

void add(TQuery& q, int n, const PlantRecord& stored) {
    q.setText(PlantSql::insert(n, stored));
    q.execSQL();
}

void change(TQuery& q, const PlantRecord& stored) {
    q.setText(PlantSql::update(stored));
    q.execSQL();
}

int remove(TQuery& q, Connection& db, const QString& name) {
    const int d = indexOf(q, name);
    if (d == 0) return 0;
    // The gap must never stay: the delete and the renumbering go together or not at all.
    db.execAll({PlantSql::remove(name).join(QLatin1Char('\n')),
                PlantSql::renumberAfter(d).join(QLatin1Char('\n'))});
    return d;
}

int positionAfter(int old, const ListEdit& edit, int count) {
    int p = old;
    switch (edit.kind) {
    case ListEdit::Filled:
        p = -1;
        break;
    case ListEdit::Saved:
        if (old == NewPlantPosition && edit.saved >= 0) p = edit.saved;
        break;
    case ListEdit::Deleted:
        if (count <= FixedRows)
            p = -1;
        else if (old + 1 == edit.deleted)
            p = NeutralPosition;
        else if (old + 1 > edit.deleted)
            p = old - 1;
        break;
    }
    return p < count ? p : -1;
}

} // namespace Plants
