#include "support/fixture.h"

#include "app/forms.h"
#include "data/dberror.h"
#include "data/schema.h"
#include "data/sql.h"
#include "search/keyform.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QString num(double v) {
    return QString::number(v, 'g', 15);
}

QString lit(const QVariant& v) {
    return v.isNull() ? QStringLiteral("NULL") : num(v.toDouble());
}

void writeBitmap(const QString& path, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::black);
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    p.end();
    if (!img.save(path, "BMP")) throw FileError(QStringLiteral("cannot write ") + path);
}

} // namespace

CatalogFixture::CatalogFixture(bool standard) {
    const QString path = dir() + QStringLiteral("/base.mdb");
    Schema::createCatalogue(path);
    conn = std::make_unique<Connection>(path);
    QDir d(dir());
    for (const char* sub : {"PIC/small", "PIC/big", "PIC/std"})
        d.mkpath(QString::fromLatin1(sub));
    // The standardized items' pictures shown when an item has none of its own.
    writeBitmap(picDir() + QStringLiteral("std/1_0100.bmp"), QSize(100, 100));
    writeBitmap(picDir() + QStringLiteral("std/s0100.bmp"), QSize(100, 100));
    if (standard) standardContent();
}

CatalogFixture::~CatalogFixture() = default;

void CatalogFixture::exec(const QString& sql) {
    conn->exec(sql);
}

QVariant CatalogFixture::scalar(const QString& sql) {
    QSqlQuery q(conn->database());
    if (!q.exec(sql) || !q.next()) throw DbError(QStringLiteral("no row: ") + sql);
    return q.value(0);
}

void CatalogFixture::addModif(int modif, const QString& name, bool visible, int pictures) {
    exec(QStringLiteral("insert into Modif (modif, MODName, Visible, PIC) values (%1, %2, %3, %4)")
             .arg(modif)
             .arg(Sql::quote(name), Sql::boolean(visible))
             .arg(pictures));
}

void CatalogFixture::addGroup(int modif, int indexGr, const QString& groupN, const QString& name) {
    exec(QStringLiteral("insert into ModGroup values (%1, %2, %3, %4)")
             .arg(modif)
             .arg(indexGr)
             .arg(Sql::quote(groupN), Sql::quote(name)));
}

void CatalogFixture::addDrawing(int modif, int picture, int indexGr, int picN, const QString& name,
                                QSize small) {
    exec(QStringLiteral("insert into Drawing values (%1, %2, %3, %4, %5)")
             .arg(modif)
             .arg(picture)
             .arg(indexGr)
             .arg(picN)
             .arg(Sql::quote(name)));
    const QString file = QStringLiteral("%1_%2.bmp").arg(modif).arg(picture);
    writeBitmap(picDir() + QStringLiteral("small/") + file, small);
    writeBitmap(picDir() + QStringLiteral("big/") + file, small * 2);
}

void CatalogFixture::addPart(int modif, const QString& n, const QString& name, double weight,
                             const QString& okp) {
    exec(QStringLiteral("insert into Detail (N_f, N, OKP, Name, V, modif) values (%1, %2, %3, %4, "
                        "%5, %6)")
             .arg(Sql::quote(keyForm(n)), Sql::quote(n), Sql::quote(okp), Sql::quote(name),
                  num(weight))
             .arg(modif));
}

void CatalogFixture::addOccurrence(int modif, const QString& n, const QString& se, int picture,
                                   int position, int quantity, int remN) {
    exec(QStringLiteral("insert into DataTab (N_f, SE_f, SE, Picture, Position, Quantity, remN, "
                        "modif) values (%1, %2, %3, %4, %5, %6, %7, %8)")
             .arg(Sql::quote(keyForm(n)),
                  Sql::quote(se.trimmed().isEmpty() ? QStringLiteral(" ") : keyForm(se)),
                  Sql::quote(se.isEmpty() ? QStringLiteral(" ") : se))
             .arg(picture)
             .arg(position)
             .arg(quantity)
             .arg(remN)
             .arg(modif));
}

void CatalogFixture::addPlace(int modif, int picture, int position, double ver, double hor) {
    exec(QStringLiteral("insert into Place values (%1, %2, %3, %4, %5)")
             .arg(modif)
             .arg(picture)
             .arg(position)
             .arg(num(ver), num(hor)));
}

void CatalogFixture::addRemark(int modif, int remN, const QString& text) {
    exec(QStringLiteral("insert into Rem (remN, Rem, modif) values (%1, %2, %3)")
             .arg(remN)
             .arg(Sql::quote(text))
             .arg(modif));
}

void CatalogFixture::addPrice(const QString& n, const QString& name, const QVariant& price,
                              const QVariant& priceZ) {
    exec(QStringLiteral("insert into Price (ID_P, Name_P, Price, PriceZ) values (%1, %2, %3, %4)")
             .arg(Sql::quote(n), Sql::quote(name), lit(price), lit(priceZ)));
}

std::unique_ptr<Forms> CatalogFixture::start() {
    return Forms::create(dir());
}

void CatalogFixture::standardContent() {
    addModif(1, "М-315.04", true, 3);
    addModif(2, "М-315.04-01", true, 2);
    addModif(3, "М-315.04-02", false, 1);
    addGroup(1, 1, "01", "Двигатель");
    addGroup(1, 2, "18", "Тормоза");
    addGroup(1, 3, "00", "");
    addGroup(2, 1, "01", "Двигатель");
    addGroup(3, 1, "05", "Сцепление");
    addDrawing(1, 1, 1, 1, "Блок цилиндров");
    addDrawing(1, 2, 2, 1, "Тормоз");
    addDrawing(1, 3, 3, 1, "Общий вид");
    addDrawing(2, 1, 1, 1, "Блок цилиндров");
    addDrawing(2, 2, 1, 2, "Головка блока");
    addDrawing(3, 1, 1, 1, "Муфта сцепления");

    addPart(1, "50-1002010", "Блок цилиндров в сборе", 95.5, "472111");
    addPart(1, "50-1002015", "Гильза цилиндра", 2.35, "472112");
    addPart(1, "50.12.003-1", "Втулка", 0.125, "472113");
    addPart(1, "50-1002030", "Крышка в сборе", 1.2);
    addPart(1, "ИЗ-12.001", "Шайба", 0);
    addPart(1, "50-3501010", "Тормоз в сборе", 12.0);
    addPart(2, "50-1002010", "Блок цилиндров в сборе", 95.5, "472111");
    addPart(2, "50-1003010", "Головка блока", 20.0);
    addPart(3, "50-1601090", "Муфта сцепления", 14.0);

    addRemark(1, 1, "Применяется до 2005 г.");
    addOccurrence(1, "50-1002010", "", 1, 1, 1);
    addOccurrence(1, "50-1002015", "50-1002010", 1, 2, 4);
    addOccurrence(1, "50.12.003-1", "50-1002010", 1, 3, 2, 1);
    addOccurrence(1, "50.12.003-1", "50-1002010", 1, 4, 2, 1);
    addOccurrence(1, "50-1002030", "50-1002010", 1, 0, 1);
    addOccurrence(1, "ИЗ-12.001", "50-1002030", 1, 5, 6);
    addOccurrence(1, "50-3501010", "", 2, 1, 2);
    addOccurrence(2, "50-1002010", "", 1, 1, 1);
    addOccurrence(2, "50-1003010", "", 2, 1, 1);
    addOccurrence(3, "50-1601090", "", 1, 1, 1);

    addPlace(1, 1, 1, 10, 10);
    addPlace(1, 1, 2, 20, 30);
    addPlace(1, 1, 3, 40, 50);
    addPlace(1, 1, 4, 60, 50);
    addPlace(1, 1, 0, 0, 0);
    addPlace(1, 1, 5, 80, 70);
    addPlace(1, 2, 1, 50, 50);
    addPlace(2, 1, 1, 50, 50);
    addPlace(2, 2, 1, 50, 50);
    addPlace(3, 1, 1, 50, 50);

    addPrice("50-1002010", "Блок цилиндров в сборе", 15000, 14000);
    addPrice("50-1002015", "Гильза цилиндра", 100, 90);
    addPrice("50.12.003-1", "Втулка", 10.005, 9.5);
    addPrice("50-1002030", "Крышка в сборе", 0, QVariant());
    addPrice("50-3501010", "Тормоз в сборе", 2500.5, 2400);
    addPrice("50-1003010", "Головка блока", 7000, 6800);
}

QStringList tableRows(CatalogFixture& f, const QString& sql) {
    QSqlQuery q(f.db().database());
    if (!q.exec(sql)) return {QStringLiteral("error: ") + sql};
    QStringList out;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << (q.isNull(i) ? QStringLiteral("NULL") : q.value(i).toString());
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}
