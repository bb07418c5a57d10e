#include "data/schema.h"

#include "data/connection.h"
#include "data/dberror.h"
#include "data/nameindex.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace Schema {

namespace {

QString stdColumns() {
    QString cols;
    for (int n = 1; n <= 13; ++n)
        cols += QStringLiteral(", Param%1 varchar(255), ParamName%1 varchar(255)").arg(n);
    return cols;
}

QStringList tables() {
    return {
        // modif 0 is the common modification; Visible is written by the settings dialog.
        "create table Modif (modif smallint not null primary key, MODName varchar(50) not null,"
        " Visible boolean not null default True, PIC integer not null default 0)",
        "create table ModGroup (modif smallint not null, indexGr integer not null,"
        " GroupN varchar(2) not null, GroupName varchar(100) not null, primary key (modif, "
        "indexGr))",
        "create table Drawing (modif smallint not null, Picture integer not null,"
        " indexGr integer not null, PicN integer not null, PicName varchar(255) not null,"
        " primary key (modif, Picture))",
        "create table Place (modif smallint not null, Picture integer not null,"
        " Position integer not null, Ver float not null, Hor float not null)",
        "create table Detail (N_f varchar(50) not null, N varchar(50) not null, OKP varchar(20),"
        " Name varchar(255), V float, modif smallint not null)",
        "create table DataTab (N_f varchar(50) not null, SE_f varchar(50), SE varchar(50),"
        " Picture integer, Position integer, Quantity integer, remN integer, modif smallint not "
        "null)",
        "create table Rem (remN integer not null, Rem text, modif smallint not null)",
        "create table Price (ID_P varchar(255), Name_P varchar(255), Price float, PriceZ float)",
        "create table STD (N_f varchar(50), N varchar(50), Name varchar(255), V float,"
        " modif smallint, MODName varchar(50), N_Gost varchar(100), Name_Gost varchar(255),"
        " PodName varchar(255), FullName varchar(255), PodGroup integer, PicGost integer" +
            stdColumns() + ")",
        "create table stdrep (paramname varchar(255), param varchar(255))",
        "create table PriceFields (FieldName varchar(50) not null, Name varchar(100),"
        " Visible boolean not null default True)",
        "create table Order_ (N integer, ID varchar(100), ID_f varchar(100), Name varchar(120),"
        " K integer, V float, PriceToReport float, Price float, PriceZ float)",
        "create table OrderAll (nn integer, ins boolean, N varchar(100), N_f varchar(100),"
        " Name varchar(100), K integer, V float, Price float, PriceZ float)",
        "create table History (N integer, Supplier varchar(100), Buyer varchar(100), Date_ date,"
        " ID varchar(255), Name varchar(120), K integer, V float, Price float, PriceZ float)",
        "create table enterprise ([Index] integer not null, Name varchar(255) not null unique,"
        " Type varchar(255), Address varchar(255), R_schet_n varchar(255), R_schet varchar(255),"
        " INN varchar(255), BIK varchar(255), K_schet varchar(255), OKONH varchar(255),"
        " OKPO varchar(255), Director varchar(255), Accountant varchar(255), Tel varchar(255),"
        " Fax varchar(255), Email varchar(255), Rem text)",
        // The report engine loads a template by the first two columns, so their order matters.
        "create table Reports ([index] integer not null, Template blob, name varchar(255))",
        "create table app ([index] integer not null, Template blob, [table] varchar(64))",
        "create table SSP (Region varchar(100), Name varchar(255), Address varchar(255),"
        " Tel varchar(100))",
        "create table PlantPhones (Department varchar(255), Person varchar(255), Tel varchar(100))",
    };
}

QStringList views() {
    return {
        "create view GrMOD as select g.modif as modif, m.MODName as MODName,"
        " g.indexGr as indexGr, g.GroupN as GroupN, g.GroupName as GroupName"
        " from ModGroup g join Modif m on m.modif = g.modif",
        "create view PicGr as select w.modif as modif, m.MODName as MODName,"
        " w.indexGr as indexGr, g.GroupN as GroupN, g.GroupName as GroupName, w.PicN as PicN,"
        " w.PicName as PicName, w.Picture as Picture"
        " from Drawing w join Modif m on m.modif = w.modif"
        " join ModGroup g on g.modif = w.modif and g.indexGr = w.indexGr",
        "create view PicPos as select p.Picture as Picture, p.modif as modif,"
        " p.Position as Position, p.Ver as Ver, p.Hor as Hor, t.N as N, t.Name as Name,"
        " g.GroupN as GroupN, g.GroupName as GroupName, w.PicName as PicName,"
        " m.MODName as MODName"
        " from Place p"
        " join Drawing w on w.modif = p.modif and w.Picture = p.Picture"
        " join ModGroup g on g.modif = w.modif and g.indexGr = w.indexGr"
        " join Modif m on m.modif = p.modif"
        " join DataTab d on d.modif = p.modif and d.Picture = p.Picture"
        "  and d.Position = p.Position"
        " join Detail t on t.N_f = d.N_f and t.modif = d.modif",
        // Price columns come through p.* only: naming one would block dropping it later.
        "create view Find as select d.modif as modif, m.MODName as MODName, t.N_f as N_f,"
        " t.N as N, t.Name as Name, t.OKP as OKP, t.V as V, d.SE_f as SE_f, d.SE as SE,"
        " d.Picture as Picture, d.Position as Position, d.Quantity as Quantity, r.Rem as Rem,"
        " g.GroupN as GroupN, g.indexGr as indexGr, p.*"
        " from DataTab d"
        " join Detail t on t.N_f = d.N_f and t.modif = d.modif"
        " join Modif m on m.modif = d.modif"
        " left join Rem r on r.modif = d.modif and r.remN = d.remN"
        " left join Drawing w on w.modif = d.modif and w.Picture = d.Picture"
        " left join ModGroup g on g.modif = w.modif and g.indexGr = w.indexGr"
        " left join Price p on p.ID_P = t.N",
        "create view forFind as select t.modif as modif, t.N_f as N_f, t.N as N, t.OKP as OKP,"
        " t.V as V, m.MODName as MODName, t.Name as Name, p.*"
        " from Detail t join Modif m on m.modif = t.modif"
        " left join Price p on p.ID_P = t.N",
    };
}

// Indexes that catalogues made before them lack, by name: made when such a catalogue is
// opened.
const QList<QPair<QString, QString>>& laterIndexes() {
    // The tree counts and reads the drawings of a group, and the search dialog asks which
    // groups have drawings, without reading a whole modification.
    static const QList<QPair<QString, QString>> list = {
        {"DrawingGroup", "create index DrawingGroup on Drawing (modif, indexGr, PicN)"},
    };
    return list;
}

QStringList indexes() {
    QStringList list = {
        "create index DetailKey on Detail (N_f, modif)",
        "create index DetailNumber on Detail (N)",
        "create index DataTabKey on DataTab (N_f, modif)",
        // Drawing first: an index led by modif makes the planner drive every search over Find
        // from the visible-modification condition (a third of the table per modification)
        // instead of from the number or assembly searched for.
        "create index DataTabPlace on DataTab (Picture, modif, Position)",
        "create index DataTabAssembly on DataTab (Picture, SE)",
        "create index DataTabAssemblyKey on DataTab (SE_f)",
        "create index PlaceDrawing on Place (modif, Picture, Position)",
        "create index RemKey on Rem (modif, remN)",
        "create index PriceNumber on Price (ID_P)",
        "create index STDKey on STD (N_f, modif)",
        "create index OrderKey on Order_ (ID_f)",
        "create index OrderLine on Order_ (N)",
        "create index HistoryLine on History (N)",
        "create index OrderAllLine on OrderAll (nn)",
        "create index EnterpriseIndex on enterprise ([Index])",
    };
    for (const auto& index : laterIndexes())
        list << index.second;
    return list;
}

QStringList deliveredRows() {
    return {
        "insert into PriceFields (FieldName, Name, Visible) values ('Price', 'Цена', True)",
        "insert into PriceFields (FieldName, Name, Visible) values ('PriceZ', 'Цена ЮЛЗ', True)",
        "insert into Modif (modif, MODName, Visible, PIC) values (0, 'Общие детали', True, 0)",
        // The unfiltered group and drawing lists are read with their first row passed over;
        // these rows of modification 0 are that first row.
        "insert into ModGroup (modif, indexGr, GroupN, GroupName) values (0, 0, '00', '')",
        "insert into Drawing (modif, Picture, indexGr, PicN, PicName)"
        " values (0, 0, 0, 0, 'Детали, общие для всех модификаций')",
        "insert into enterprise ([Index], Name) values (1, 'Не указано')",
        "insert into enterprise ([Index], Name) values (2, 'Новое предприятие')",
        "insert into app ([index], Template, [table]) values (0, NULL, 'SSP')",
        "insert into app ([index], Template, [table]) values (1, NULL, 'PlantPhones')",
    };
}

} // namespace

void create(Connection& db) {
    db.execAll(tables() + views() + indexes() + NameIndex::schema() + deliveredRows());
}

void createCatalogue(const QString& path) {
    if (QFileInfo::exists(path))
        throw FileError(QStringLiteral("Файл %1 уже существует").arg(path));
    Connection db(path, true);
    create(db);
}

void addMissingIndexes(Connection& db) {
    QSqlQuery q(db.database());
    if (!q.exec(QStringLiteral("select name from sqlite_master where type = 'index'"))) return;
    QStringList present;
    while (q.next())
        present << q.value(0).toString();
    for (const auto& index : laterIndexes()) {
        if (present.contains(index.first)) continue;
        try {
            db.exec(index.second);
        } catch (const DbError&) {
            // A read-only or locked catalogue works without it, only slower.
        }
    }
}

QStringList missingTables(Connection& db) {
    static const QStringList required = {
        "Modif",    "ModGroup", "Drawing",    "Place",   "Detail",      "DataTab",
        "Rem",      "Price",    "STD",        "stdrep",  "PriceFields", "Order_",
        "OrderAll", "History",  "enterprise", "Reports", "app",         "SSP",
        "Find",     "forFind",  "PicPos",     "PicGr",   "GrMOD"};
    QStringList present;
    QSqlQuery q(db.database());
    if (!q.exec(QStringLiteral("select name from sqlite_master where type in ('table','view')")))
        throw DbError(q.lastError().databaseText());
    while (q.next())
        present << q.value(0).toString().toLower();
    QStringList missing;
    for (const QString& t : required)
        if (!present.contains(t.toLower())) missing << t;
    return missing;
}

} // namespace Schema
