// The demo catalogue generator: what it writes opens in the program and has what the viewer,
// the search and the basket work with.
#include "app/forms.h"
#include "commandline.h"
#include "data/connection.h"
#include "data/datamod.h"
#include "generator.h"
#include "random.h"
#include "render.h"
#include "search/keyform.h"
#include "support/modalscript.h"
#include "support/testmain.h"
#include "viewer/marker.h"
#include "vocabulary.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <functional>
#include <sys/stat.h>

namespace {

QVariant scalar(Connection& db, const QString& sql) {
    QSqlQuery q(db.database());
    if (!q.exec(sql) || !q.next()) qFatal("no row: %s", qPrintable(sql));
    return q.value(0);
}

QVector<QVariantList> rows(Connection& db, const QString& sql) {
    QSqlQuery q(db.database());
    if (!q.exec(sql)) qFatal("failed: %s", qPrintable(sql));
    QVector<QVariantList> out;
    while (q.next()) {
        QVariantList r;
        for (int i = 0; i < q.record().count(); ++i)
            r << q.value(i);
        out << r;
    }
    return out;
}

int count(Connection& db, const QString& sql) {
    return scalar(db, "select count(*) from " + sql).toInt();
}

int run(const QStringList& args, QString* errors = nullptr) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int code = Gen::runCommandLine(QStringList{"gencatalog"} + args, o, e);
    o.flush();
    e.flush();
    if (errors) *errors = err;
    return code;
}

// Every file under dir by its path relative to dir.
QMap<QString, QByteArray> files(const QString& dir) {
    QMap<QString, QByteArray> map;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        map.insert(QDir(dir).relativeFilePath(path), f.readAll());
    }
    return map;
}

QString twoDigits(int v) {
    return v < 10 ? QStringLiteral("0%1").arg(v) : QString::number(v);
}

} // namespace

class TestGenCatalog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void programStartsOnTheCatalogue();
    void dataModuleReadsTheViews();
    void drawingsAreNumberedInGroupOrder();
    void everyDrawingHasItsBitmaps();
    void placesAndOccurrencesMatch();
    void numbersAndAssemblies();
    void drawingsShowTheCasesOfTheViewer();
    void somePartsAreUnpriced();
    void standardItemsHaveTheirIllustrations();
    void registerAndReferenceLists();
    void sameSeedGivesIdenticalFiles();
    void commandLineRefusals_data();
    void commandLineRefusals();
    void existingCatalogueIsLeftAlone();
    void largeCatalogueSharesItsPictures();
    void defaultDemoHasTheDemoSize();
    void printedNumbersStayUnderTheirMarkers();
    void partNamesReadAsRealParts();
    void drawingsOfGroupsShowTheirOwnParts();
    void groupsDrawTheirOwnBodies();

private:
    QTemporaryDir tmp;
    QString dir;
    std::unique_ptr<Connection> db;
};

void TestGenCatalog::initTestCase() {
    dir = tmp.filePath("demo");
    QCOMPARE(run({dir, "--seed", "7", "--parts", "400"}), 0);
    db = std::make_unique<Connection>(dir + "/base.mdb");
}

void TestGenCatalog::programStartsOnTheCatalogue() {
    ModalScript script;
    std::unique_ptr<Forms> forms = Forms::create(dir);
    QVERIFY(forms);
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
    QVERIFY(script.messages.isEmpty());
    // The help page the program opens from its directory.
    QFile help(dir + "/catalog.html");
    QVERIFY(help.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(help.readAll());
    for (const char* topic : {"Дерево", "Поиск", "Корзина", "Отчет"})
        QVERIFY2(page.contains(QString::fromUtf8(topic)), topic);
}

void TestGenCatalog::dataModuleReadsTheViews() {
    TDM dm(dir);
    QVERIFY(dm.Qssp.recordCount() >= 5);
    const QVector<QPair<TQuery*, QString>> views = {{&dm.QPicGr, "PicGr"},
                                                    {&dm.QPicPos, "PicPos"},
                                                    {&dm.QFind, "Find"},
                                                    {&dm.QDet, "forFind"},
                                                    {&dm.QGrMOD, "GrMOD"}};
    for (const auto& [query, view] : views) {
        query->clear();
        query->add("select * from " + view);
        query->open();
        QVERIFY2(query->recordCount() > 10, qPrintable(view));
    }
    // A search for a name inside names, as users type it.
    dm.QFind.clear();
    dm.QFind.add("select * from Find where Name like '%втулка%'");
    dm.QFind.open();
    QVERIFY(dm.QFind.recordCount() > 0);
}

void TestGenCatalog::drawingsAreNumberedInGroupOrder() {
    const auto modifs =
        rows(*db, "select modif, PIC, Visible from Modif where modif > 0 order by modif");
    QVERIFY(modifs.size() >= 3 && modifs.size() <= 4);
    int hidden = 0;
    for (const QVariantList& m : modifs) {
        hidden += m[2].toBool() ? 0 : 1;
        const auto pictures = rows(*db, QString("select Picture, GroupN from PicGr where modif=%1"
                                                " order by indexGr, PicN")
                                            .arg(m[0].toInt()));
        QCOMPARE(pictures.size(), m[1].toInt());
        for (int i = 0; i < pictures.size(); ++i)
            QCOMPARE(pictures[i][0].toInt(), i + 1);
        QCOMPARE(pictures[0][1].toString(), QString("00"));
        for (const QVariantList& p : pictures)
            QCOMPARE(p[1].toString().size(), 2);
    }
    QCOMPARE(hidden, 1);
}

void TestGenCatalog::everyDrawingHasItsBitmaps() {
    const auto drawings = rows(*db, "select modif, Picture from Drawing where modif > 0");
    QVERIFY(drawings.size() >= 8);
    for (const QVariantList& d : drawings) {
        const QString name = QString("%1_%2.bmp").arg(d[0].toInt()).arg(d[1].toInt());
        const QImage small(dir + "/PIC/small/" + name), big(dir + "/PIC/big/" + name);
        QVERIFY2(!small.isNull() && !big.isNull(), qPrintable(name));
        QCOMPARE(big.size(), small.size() * 2);
        QVERIFY(small.width() >= 950 && small.width() <= 1050);
        QVERIFY(small.height() >= 650 && small.height() <= 750);
    }
}

void TestGenCatalog::placesAndOccurrencesMatch() {
    // Every numbered place shows a part, and every occurrence on a drawing has its place.
    QCOMPARE(count(*db, "Place p where not exists (select 1 from PicPos v where v.modif=p.modif"
                        " and v.Picture=p.Picture and v.Position=p.Position)"),
             0);
    QCOMPARE(count(*db,
                   "DataTab d where d.Picture > 0 and not exists (select 1 from Place p"
                   " where p.modif=d.modif and p.Picture=d.Picture and p.Position=d.Position)"),
             0);
    QCOMPARE(count(*db, "DataTab d where not exists (select 1 from Detail t where t.N_f=d.N_f"
                        " and t.modif=d.modif)"),
             0);
    QCOMPARE(count(*db, "Place where Ver < 0 or Ver > 100 or Hor < 0 or Hor > 100"), 0);
    // One part and modification, one Detail row (else PicPos would double its markers).
    QCOMPARE(count(*db, "(select 1 from Detail group by N_f, modif having count(*) > 1)"), 0);
    QCOMPARE(count(*db, "(select 1 from DataTab where Position > 0"
                        " group by modif, Picture, Position having count(*) > 1)"),
             0);
}

void TestGenCatalog::numbersAndAssemblies() {
    for (const QVariantList& r : rows(*db, "select N, N_f from Detail"))
        QCOMPARE(r[1].toString(), keyForm(r[0].toString()));
    for (const QVariantList& r : rows(*db, "select SE, SE_f from DataTab")) {
        if (r[0].toString() == " ") {
            QCOMPARE(r[1].toString(), QString(" "));
            continue;
        }
        QCOMPARE(r[1].toString(), keyForm(r[0].toString()));
    }
    // The assembly of an occurrence is itself on that drawing, so it can be shown whole.
    QCOMPARE(count(*db, "DataTab d where d.SE_f <> ' ' and not exists (select 1 from DataTab a"
                        " where a.modif=d.modif and a.Picture=d.Picture and a.N_f=d.SE_f)"),
             0);
    // No assembly contains itself, however deep.
    QHash<QString, QSet<QString>> members;
    for (const QVariantList& r : rows(*db, "select modif || ':' || SE_f, modif || ':' || N_f"
                                           " from DataTab where SE_f <> ' '"))
        members[r[0].toString()].insert(r[1].toString());
    QHash<QString, int> state; // 1 on the path, 2 done
    std::function<bool(const QString&)> cyclic = [&](const QString& a) {
        if (state.value(a) == 1) return true;
        if (state.value(a) == 2) return false;
        state[a] = 1;
        for (const QString& m : members.value(a))
            if (cyclic(m)) return true;
        state[a] = 2;
        return false;
    };
    for (auto it = members.cbegin(); it != members.cend(); ++it)
        QVERIFY(!cyclic(it.key()));
    // The numbers look like the plant's, with the letters the key form treats specially.
    QVERIFY(count(*db, "Detail where N like '%.%'") > 0);
    QVERIFY(count(*db, "Detail where N like 'Х8-%'") > 0);
    QVERIFY(count(*db, "Detail where N like 'I-%'") > 0);
    QVERIFY(count(*db, "Detail where V = 0") > 0);
}

void TestGenCatalog::drawingsShowTheCasesOfTheViewer() {
    // A sub-assembly drawn without a number, whose members have numbers.
    QVERIFY(count(*db, "DataTab s where s.Position = 0 and s.Picture > 0 and exists (select 1"
                       " from DataTab m where m.modif=s.modif and m.Picture=s.Picture"
                       " and m.SE_f=s.N_f and m.Position > 0)") > 0);
    // One part at two places: the same number printed twice, consecutive and separated numbers.
    QVERIFY(count(*db, "(select 1 from Place where Position > 0"
                       " group by modif, Picture, Position having count(*) > 1)") > 0);
    QVERIFY(count(*db, "DataTab a join DataTab b on a.modif=b.modif and a.Picture=b.Picture"
                       " and a.N_f=b.N_f and b.Position=a.Position+1 where a.Position > 0") > 0);
    QVERIFY(count(*db, "DataTab a join DataTab b on a.modif=b.modif and a.Picture=b.Picture"
                       " and a.N_f=b.N_f and b.Position>a.Position+1 where a.Position > 0") > 0);
    // Top assemblies at position 1, a drawing of more than 50 positions, remarks.
    QVERIFY(count(*db, "DataTab where Position = 1 and SE_f = ' '") > 0);
    QVERIFY(count(*db, "DataTab where Position > 50") > 0);
    QVERIFY(count(*db, "Find where Rem is not null") > 0);
    QCOMPARE(count(*db, "(select modif from Rem group by modif having max(remN) <> count(*))"), 0);
    // Parts common to all modifications, on no drawing.
    QVERIFY(count(*db, "Find where modif = 0 and Picture = 0 and Position = 0") > 0);
}

void TestGenCatalog::somePartsAreUnpriced() {
    QVERIFY(count(*db, "forFind where ID_P is null") > 0);
    QVERIFY(count(*db, "forFind where ID_P is not null and Price is null and PriceZ is null") > 0);
    QVERIFY(count(*db, "forFind where Price = 0") > 0);
    QVERIFY(count(*db, "forFind where Price > 0 and PriceZ is null") > 0);
    QVERIFY(count(*db, "forFind where Price > 0 and PriceZ > 0") > count(*db, "forFind") / 2);
    // Roubles with kopecks.
    QCOMPARE(count(*db, "Price where abs(Price * 100 - round(Price * 100)) > 1e-6"), 0);
}

void TestGenCatalog::standardItemsHaveTheirIllustrations() {
    const auto items = rows(*db, "select s.modif, s.PodGroup, s.PicGost, s.MODName, m.MODName,"
                                 " s.ParamName1, s.Param1, s.N_Gost from STD s"
                                 " join Modif m on m.modif = s.modif");
    QVERIFY(items.size() >= 10);
    QCOMPARE(count(*db, "STD s where not exists (select 1 from Detail t where t.N_f=s.N_f and"
                        " t.modif=s.modif)"),
             0);
    const QString std = dir + "/PIC/std/";
    for (const QVariantList& s : items) {
        const QString code = twoDigits(s[1].toInt()) + twoDigits(s[2].toInt());
        QVERIFY2(!QImage(std + s[0].toString() + "_" + code + ".bmp").isNull(), qPrintable(code));
        QVERIFY(!QImage(std + "s" + code + ".bmp").isNull());
        QCOMPARE(s[3].toString(), s[4].toString());
        QVERIFY(!s[5].toString().isEmpty() && !s[6].toString().isEmpty());
        QVERIFY(s[7].toString().startsWith("ГОСТ "));
    }
    QVERIFY(!QImage(std + "1_0100.bmp").isNull());
    QVERIFY(!QImage(std + "s0100.bmp").isNull());
}

void TestGenCatalog::registerAndReferenceLists() {
    const auto indexes = rows(*db, "select [Index] from enterprise order by rowid");
    QVERIFY(indexes.size() >= 5);
    for (int i = 0; i < indexes.size(); ++i)
        QCOMPARE(indexes[i][0].toInt(), i + 1);
    QCOMPARE(scalar(*db, "select Name from enterprise where [Index]=2").toString(),
             QString("Новое предприятие"));
    QVERIFY(count(*db, "enterprise where [Index] >= 3 and Tel like '%#%' and INN <> ''"
                       " and BIK <> '' and K_schet <> ''") > 0);
    QVERIFY(count(*db, "SSP") > 5);
    QVERIFY(count(*db, "PlantPhones") > 5);
}

void TestGenCatalog::sameSeedGivesIdenticalFiles() {
    const QString a = tmp.filePath("a"), b = tmp.filePath("b"), c = tmp.filePath("c");
    QCOMPARE(run({a, "--seed", "11", "--parts", "300"}), 0);
    QCOMPARE(run({b, "--parts", "300", "--seed", "11"}), 0);
    QCOMPARE(run({c, "--seed", "12", "--parts", "300"}), 0);
    const auto first = files(a), second = files(b);
    QCOMPARE(first.keys(), second.keys());
    QVERIFY(first.contains("base.mdb"));
    QVERIFY(!first.contains("base.mdb-wal") && !first.contains("base.mdb.part"));
    for (auto it = first.cbegin(); it != first.cend(); ++it)
        QVERIFY2(it.value() == second.value(it.key()), qPrintable(it.key()));
    QVERIFY(files(c).value("base.mdb") != first.value("base.mdb"));
}

void TestGenCatalog::commandLineRefusals_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no directory") << QStringList{};
    QTest::newRow("parts not a number") << QStringList{"%1", "--parts", "много"};
    QTest::newRow("too few parts") << QStringList{"%1", "--parts", "5"};
    QTest::newRow("negative seed") << QStringList{"%1", "--seed", "-1"};
    QTest::newRow("seed without value") << QStringList{"%1", "--seed"};
    QTest::newRow("unknown option") << QStringList{"%1", "--size", "10"};
    QTest::newRow("two directories") << QStringList{"%1", "%1-more"};
}

void TestGenCatalog::commandLineRefusals() {
    QFETCH(QStringList, args);
    const QString out = tmp.filePath(QTest::currentDataTag());
    for (QString& a : args)
        a.replace("%1", out);
    QString errors;
    QCOMPARE(run(args, &errors), 2);
    QVERIFY(errors.contains("gencatalog <папка>"));
    QVERIFY(!QFile::exists(out));
}

void TestGenCatalog::existingCatalogueIsLeftAlone() {
    const QString a = tmp.filePath("again");
    QCOMPARE(run({a, "--parts", "200"}), 0);
    const QByteArray before = files(a).value("base.mdb");
    QString errors;
    QCOMPARE(run({a, "--parts", "200", "--seed", "5"}, &errors), 2);
    QVERIFY(errors.contains("base.mdb"));
    QCOMPARE(files(a).value("base.mdb"), before);
}

void TestGenCatalog::largeCatalogueSharesItsPictures() {
    Gen::Options o;
    o.outDir = tmp.filePath("large");
    o.parts = 1500;
    o.layout = Gen::Layout::Large;
    const Gen::Summary s = Gen::generate(o);
    QVERIFY(s.parts >= 1500);
    QVERIFY(s.pictures <= 20);
    QVERIFY(s.drawings > s.pictures);
    QVERIFY(s.occurrences > 2 * s.parts);
    Connection large(o.outDir + "/base.mdb");
    // About 120 positions a drawing.
    const double perDrawing =
        scalar(large, "select avg(c) from (select count(*) c from Place group by modif, Picture)")
            .toDouble();
    QVERIFY2(perDrawing > 105 && perDrawing < 145, qPrintable(QString::number(perDrawing)));
    QSet<quint64> inodes;
    QHash<quint64, QSet<QString>> groupsOfPicture;
    for (const QVariantList& d :
         rows(large, "select d.modif, d.Picture, g.GroupN from Drawing d join ModGroup g"
                     " on g.modif = d.modif and g.indexGr = d.indexGr where d.modif > 0")) {
        const QString name = QString("%1_%2.bmp").arg(d[0].toInt()).arg(d[1].toInt());
        const QImage small(o.outDir + "/PIC/small/" + name), big(o.outDir + "/PIC/big/" + name);
        QCOMPARE(small.size(), QSize(1200, 850));
        QCOMPARE(big.size(), QSize(2400, 1700));
        struct stat st;
        QCOMPARE(stat(QFile::encodeName(o.outDir + "/PIC/big/" + name).constData(), &st), 0);
        inodes.insert(quint64(st.st_ino));
        groupsOfPicture[quint64(st.st_ino)] << d[2].toString();
    }
    QCOMPARE(inodes.size(), s.pictures);
    // A shared picture stays within its group: an engine drawing never shows a cab.
    for (const QSet<QString>& groups : groupsOfPicture)
        QCOMPARE(groups.size(), 1);
    // Benchmarks look for this word inside names, in any case.
    QVERIFY(count(large, "Detail where Name like '%втулка%'") * 20 > count(large, "Detail"));
}

void TestGenCatalog::defaultDemoHasTheDemoSize() {
    Gen::Options o;
    o.outDir = tmp.filePath("default");
    const Gen::Summary s = Gen::generate(o);
    QVERIFY(s.modifications >= 3 && s.modifications <= 4);
    QVERIFY2(s.drawings >= 60 && s.drawings <= 100, qPrintable(QString::number(s.drawings)));
    QVERIFY(s.parts >= 2000);
    qint64 bytes = 0;
    QSet<quint64> seen; // shared pictures take their room once
    QDirIterator it(o.outDir + "/PIC", QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        struct stat st;
        QCOMPARE(stat(QFile::encodeName(it.next()).constData(), &st), 0);
        if (!seen.contains(quint64(st.st_ino))) bytes += st.st_size;
        seen.insert(quint64(st.st_ino));
    }
    QVERIFY2(bytes < 60LL * 1024 * 1024, qPrintable(QString::number(bytes)));
}

void TestGenCatalog::printedNumbersStayUnderTheirMarkers() {
    // The fitted view shows the small picture at up to about 1.2 times its size; the zoom steps
    // show the big one (twice the small) at 1, 1.5 and 2 times the fitted size.
    const double fitted = 1.2;
    for (int position : {1, 8, 88, 315, 1234}) {
        const QString text = QString::number(position);
        TMarker marker(nullptr);
        marker.setCaption(text);
        const QSizeF onSmall = Gen::printedNumberSize(position, 1) * fitted;
        QVERIFY2(onSmall.width() <= marker.width() - 2 && onSmall.height() <= marker.height() - 2,
                 qPrintable(text + " on the fitted small picture"));
        for (double step : {1.0, 1.5, 2.0}) {
            const QSizeF onBig = Gen::printedNumberSize(position, 2) * fitted * step;
            QVERIFY2(onBig.width() <= marker.width() - 2 && onBig.height() <= marker.height() - 2,
                     qPrintable(QString("%1 at zoom step %2: %3 x %4 under %5 x %6")
                                    .arg(text)
                                    .arg(step)
                                    .arg(onBig.width())
                                    .arg(onBig.height())
                                    .arg(marker.width())
                                    .arg(marker.height())));
        }
    }
}

void TestGenCatalog::partNamesReadAsRealParts() {
    QStringList names;
    for (const QVariantList& r : rows(*db, "select Name from Detail"))
        names << r[0].toString();
    Gen::Random rng(11);
    for (int i = 0; i < 4000; ++i)
        names << Gen::Words::part(rng, i % int(Gen::Words::groups().size())).name;
    int withComplement = 0;
    for (const QString& name : names) {
        QVERIFY2(!name.contains("Пружина подшипника"), qPrintable(name));
        const QStringList words = name.split(' ');
        // The same word twice: "Шестерня шестерни", "Втулка втулки", "Упор упорный".
        for (int k = 1; k < words.size(); ++k)
            QVERIFY2(words[k].left(3).toLower() != words[0].left(3).toLower(), qPrintable(name));
        if (name.contains(QRegularExpression(" (вала|подшипника|клапана|насоса)( |$)")))
            ++withComplement;
    }
    QVERIFY(withComplement > 50);
}

void TestGenCatalog::drawingsOfGroupsShowTheirOwnParts() {
    // The parts a group's drawings show are named from its words: by the first word of names.
    QHash<QString, QSet<QString>> words;
    const auto& groups = Gen::Words::groups();
    Gen::Random rng(5);
    for (int g = 0; g < groups.size(); ++g)
        for (int i = 0; i < 1500; ++i)
            words[groups[g].number] << Gen::Words::part(rng, g).name.section(' ', 0, 0);
    const QStringList mechanism = {"Шестерня", "Поршень", "Вал", "Шкив", "Звёздочка", "Шпонка"};
    const QStringList cab = {"Стекло", "Обивка", "Зеркало", "Уплотнитель", "Замок"};
    for (const QString& w : mechanism)
        QVERIFY2(!words["67"].contains(w) && !words["37"].contains(w), qPrintable(w));
    for (const QString& w : cab)
        QVERIFY2(!words["10"].contains(w), qPrintable(w));
    QVERIFY(words["10"].contains("Шатун") && words["67"].contains("Стекло"));
}

void TestGenCatalog::groupsDrawTheirOwnBodies() {
    // The same body drawn in every group's outline family: no two groups alike.
    QSet<QByteArray> pictures;
    for (int g = 0; g < Gen::Words::groups().size(); ++g) {
        Gen::Scene scene;
        scene.size = QSize(400, 300);
        scene.items << Gen::Item{Gen::Shape::Housing, QRectF(60, 60, 280, 160), 7};
        scene.family = g;
        pictures << Gen::renderDrawing(scene, 1);
    }
    QCOMPARE(pictures.size(), Gen::Words::groups().size());
}

CATALOG_TEST_MAIN(TestGenCatalog)
#include "tst_gencatalog.moc"
