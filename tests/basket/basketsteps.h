#pragma once

// What the basket and history tests share: the rows of Order_ and History as the database
// holds them, and the add-to-basket dialog answered through the modal seam.
#include "basket/order.h"
#include "support/fixture.h"
#include "support/modalscript.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace BasketSteps {

inline QStringList rows(CatalogFixture& f, const QString& sql) {
    return tableRows(f, sql);
}

inline QStringList basket(CatalogFixture& f) {
    return rows(f, QStringLiteral("select N, ID, ID_f, Name, K, V, Price, PriceZ from Order_ "
                                  "order by N"));
}

inline QStringList history(CatalogFixture& f) {
    return rows(f, QStringLiteral("select N, Supplier, Buyer, Date_, ID, Name, K, V, Price, "
                                  "PriceZ from History order by N"));
}

// Acts on the next add-to-basket dialog.
inline void onOrderForm(ModalScript& script, std::function<void(TorderForm&)> act) {
    script.then([act](QDialog& d) { act(static_cast<TorderForm&>(d)); });
}

// Types text key by key, as the user does (letters beyond ASCII as the text of their keys).
inline void typeIn(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Replaces an input's text by typing.
inline void type(QLineEdit* e, const QString& text) {
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    typeIn(e, text);
}

// The next dialog gets this quantity typed and its button pressed.
inline void confirmWith(ModalScript& script, const QString& quantity) {
    onOrderForm(script, [quantity](TorderForm& o) {
        type(o.eK, quantity);
        o.bbAppend->click();
    });
}

} // namespace BasketSteps
