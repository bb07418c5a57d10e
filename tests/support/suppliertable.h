#pragma once

// A supplier's price table as another program writes it: dBase, code page 866, the columns
// number, name and price as text.
#include <QFile>
#include <QList>
#include <QString>
#include <QStringEncoder>
#include <QTest>
#include <shapefil.h>

struct Row {
    QString number, name, price;
};

inline void writeTable(const QString& path, const QList<Row>& rows) {
    DBFHandle dbf = DBFCreateEx(QFile::encodeName(path).constData(), "LDID/38");
    QVERIFY(dbf);
    DBFAddField(dbf, "NOMER", FTString, 20, 0);
    DBFAddField(dbf, "NAIM", FTString, 60, 0);
    DBFAddField(dbf, "CENA", FTString, 12, 0);
    QStringEncoder enc("IBM866");
    for (int r = 0; r < rows.size(); ++r) {
        const QByteArray cells[3] = {enc.encode(rows[r].number), enc.encode(rows[r].name),
                                     enc.encode(rows[r].price)};
        for (int c = 0; c < 3; ++c)
            QVERIFY(DBFWriteStringAttribute(dbf, r, c, cells[c].constData()));
    }
    DBFClose(dbf);
}
