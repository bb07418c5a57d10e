#include "basket/picksheet.h"

#include "data/tquery.h"

#include <algorithm>

namespace PickSheet {

QStringList statement(const QString& modFilter) {
    // The inner select names its columns once, so that the visible modifications' condition,
    // written with a bare modif, applies to one column.
    return {QStringLiteral("select * from (select distinct p.modif as modif, "
                           "p.Picture as Picture, p.Position as Position, p.Ver as Ver, "
                           "p.Hor as Hor, o.N as Line, o.ID as ID, o.Name as Name, o.K as K, "
                           "w.PicName as PicName, m.MODName as MODName"),
            QStringLiteral("from Order_ o"),
            QStringLiteral("join DataTab d on d.N_f = o.ID_f"),
            QStringLiteral("join Place p on p.modif = d.modif and p.Picture = d.Picture and "
                           "p.Position = d.Position"),
            QStringLiteral("join Drawing w on w.modif = p.modif and w.Picture = p.Picture"),
            QStringLiteral("join Modif m on m.modif = p.modif"),
            QStringLiteral("where p.Position > 0)"),
            QStringLiteral("where ") + modFilter,
            QStringLiteral("order by modif, Picture, Line, Position")};
}

std::vector<Sheet> read(TQuery& q, const QString& modFilter) {
    q.setText(statement(modFilter));
    q.open();
    std::vector<Sheet> sheets;
    for (q.first(); !q.eof(); q.next()) {
        const int modif = q.asInteger(QStringLiteral("modif"));
        const int picture = q.asInteger(QStringLiteral("Picture"));
        if (sheets.empty() || sheets.back().modif != modif || sheets.back().picture != picture)
            sheets.push_back({modif,
                              picture,
                              q.asString(QStringLiteral("MODName")),
                              q.asString(QStringLiteral("PicName")),
                              {},
                              {}});
        Sheet& s = sheets.back();
        const int n = q.asInteger(QStringLiteral("Line"));
        if (s.lines.empty() || s.lines.back().n != n)
            s.lines.push_back({n,
                               q.asString(QStringLiteral("ID")),
                               q.asString(QStringLiteral("Name")),
                               q.asInteger(QStringLiteral("K")),
                               {}});
        const int position = q.asInteger(QStringLiteral("Position"));
        s.lines.back().positions << position;
        const bool known = std::any_of(s.spots.begin(), s.spots.end(), [position](const Spot& p) {
            return p.position == position;
        });
        if (!known)
            s.spots.push_back(
                {position, q.asFloat(QStringLiteral("Ver")), q.asFloat(QStringLiteral("Hor"))});
    }
    q.close();
    for (Sheet& s : sheets)
        std::sort(s.spots.begin(), s.spots.end(),
                  [](const Spot& a, const Spot& b) { return a.position < b.position; });
    return sheets;
}

} // namespace PickSheet
