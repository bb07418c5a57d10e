#pragma once

#include "data/connection.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

class Forms;

// A small catalogue in a temporary directory, made with the program's own schema: base.mdb and
// the picture directory PIC/ with small/, big/ and std/ bitmaps (std/ holds the two fallback
// pictures of standardized items, 100 x 100).
//
// The standard content (standard = true):
//   modifications 1 "М-315.04" (visible, 3 drawings), 2 "М-315.04-01" (visible, 2 drawings),
//   3 "М-315.04-02" (hidden, 1 drawing);
//   modification 1: group 1 "01: Двигатель" with drawing 1 "Блок цилиндров", group 2
//   "18: Тормоза" with drawing 2 "Тормоз", and "00" with drawing 3 "Общий вид";
//   modification 2: group 1 "01: Двигатель" with drawings 1 "Блок цилиндров", 2 "Головка
//   блока"; modification 3: group 1 "05: Сцепление" with drawing 1 "Муфта сцепления".
//   Drawing 1 of modification 1 shows the assembly "50-1002010" ("Блок цилиндров в сборе",
//   position 1) with its members "50-1002015" (2), "50.12.003-1" (3, and again at 4, same
//   part) and the position-0 sub-assembly "50-1002030" whose member "ИЗ-12.001" sits at 5.
//   Prices: Price and PriceZ for most parts; "ИЗ-12.001" has none.
class CatalogFixture {
public:
    explicit CatalogFixture(bool standard = true);
    ~CatalogFixture();

    QString dir() const { return tmp.path(); }
    QString picDir() const { return dir() + QStringLiteral("/PIC/"); }
    Connection& db() { return *conn; }

    void exec(const QString& sql);
    QVariant scalar(const QString& sql);

    // Content builders (display numbers are reduced to their key form here).
    void addModif(int modif, const QString& name, bool visible, int pictures);
    void addGroup(int modif, int indexGr, const QString& groupN, const QString& name);
    // Writes the small bitmap of the given size and the big one of twice that size.
    void addDrawing(int modif, int picture, int indexGr, int picN, const QString& name,
                    QSize small = QSize(400, 300));
    void addPart(int modif, const QString& n, const QString& name, double weight = 0,
                 const QString& okp = QString());
    void addOccurrence(int modif, const QString& n, const QString& se, int picture, int position,
                       int quantity = 1, int remN = 0);
    void addPlace(int modif, int picture, int position, double ver, double hor);
    void addRemark(int modif, int remN, const QString& text);
    void addPrice(const QString& n, const QString& name, const QVariant& price,
                  const QVariant& priceZ);

    // Creates the program's windows on this catalogue (as start-up does).
    std::unique_ptr<Forms> start();

private:
    void standardContent();

    QTemporaryDir tmp;
    std::unique_ptr<Connection> conn;
};

// Rows of a statement on the fixture's own connection, each "v1|v2|...", NULL as "NULL"; a
// statement that fails gives one row naming it.
QStringList tableRows(CatalogFixture& f, const QString& sql);
