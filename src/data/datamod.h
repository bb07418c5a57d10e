#pragma once

#include "data/connection.h"
#include "data/nameindex.h"
#include "data/tquery.h"

#include <QObject>
#include <QSettings>
#include <QString>
#include <memory>
#include <vector>

// The data module: the one connection to base.mdb and every query object through which the
// program reads and writes it, the directories the program reads from, and the settings key.
// It never shows anything; failures are thrown as DbError/FileError with the database's words.
class TDM : public QObject {
    Q_OBJECT
public:
    // Rows of a search result read before it is shown: a few screens of the result grid.
    static constexpr int FoundFirstRows = 256;

    // Opens base.mdb in workDir. Throws FileError when the file is missing or not an SQLite
    // catalogue, DbError when SQLite refuses it. A catalogue opened for the first time gets its
    // index of part names, which reports its progress; where it cannot be made (a read-only
    // catalogue) the catalogue is used without it.
    explicit TDM(const QString& workDir, const NameIndex::Progress& progress = {},
                 QObject* parent = nullptr);
    ~TDM() override;

    static QString databaseFileName() { return QStringLiteral("base.mdb"); }

    std::unique_ptr<Connection> Database;

    // Query objects, named as the program refers to them.
    TQuery QFind{*Database, "QFind"};
    TQuery QPic{*Database, "QPic"};
    TQuery QPicPos{*Database, "QPicPos"};
    TQuery QSTD{*Database, "QSTD"};
    TQuery QOrder{*Database, "QOrder"};
    TQuery QOrder2{*Database, "QOrder2"};
    TQuery QItogo{*Database, "QItogo"};
    TQuery QHistory{*Database, "QHistory"};
    TQuery QHistory2{*Database, "QHistory2"};
    TQuery QHistoryItogo{*Database, "QHistoryItogo"};
    TQuery QOrderAll{*Database, "QOrderAll"};
    TQuery QOrderAll2{*Database, "QOrderAll2"};
    TQuery QFind2{*Database, "QFind2"};
    TQuery QPrice{*Database, "QPrice"};
    TQuery QPriceFields{*Database, "QPriceFields"};
    TQuery QDet{*Database, "QDet"};
    TQuery QPicGr{*Database, "QPicGr"};
    TQuery QGrMOD{*Database, "QGrMOD"};
    TQuery QMod{*Database, "QMod"};
    TQuery QTree{*Database, "QTree"};
    TQuery StrQuery{*Database, "StrQuery"};
    TQuery QPlant{*Database, "QPlant"};
    TQuery Qstdrep{*Database, "Qstdrep"};
    TQuery Qssp{*Database, "Qssp"};

    // Directories: AppDir is the working directory of base.mdb with a trailing "/".
    QString AppDir;
    QString PicDir;   // AppDir + "PIC/"
    QString HelpFile; // AppDir + "catalog.html"

    // A price column: a row of PriceFields.
    struct PriceColumn {
        QString field; // FieldName: the float column in Price, Order_, OrderAll, History
        QString name;  // the display name
        bool visible;
    };
    // The price columns in table order ("select * from PriceFields", no sort), which every
    // list built from them follows. Read through QPriceFields.
    std::vector<PriceColumn> priceColumns();

    // One declared display field of a price column: the query that owns it and its name.
    struct PriceDisplayField {
        TQuery* query;
        QString componentName;
    };
    // Ten fields per price column, one block after another in the order the columns were
    // declared (see NewField).
    std::vector<PriceDisplayField> PriceDisplayFields;

    // Declares the block of display fields (format "0.00") of price column F on the search,
    // basket, totals, staging and history queries. A column whose block exists already is
    // refused with DbError (duplicate component name) and nothing more is declared.
    void NewField(const QString& F);
    // Removes the block of price column F; the last block takes its place, so the blocks stay
    // contiguous. A column without a block is left alone.
    void DelField(const QString& F);

    // The program's settings key ("Catalog M-315.04"), values Buyer, Supplier, PriceToReport.
    QSettings& settings() { return *Settings; }

private:
    static std::unique_ptr<Connection> openCatalogue(const QString& workDir,
                                                     const NameIndex::Progress& progress);
    void declareFields();

    std::unique_ptr<QSettings> Settings;
};

// The program's one data module (set while the program's windows exist).
extern TDM* DM;
