// The amount in words and the packing of an enterprise's contacts.
#include "data/dberror.h"
#include "data/sql.h"
#include "reports/contacts.h"
#include "reports/suminwords.h"
#include "support/fixture.h"
#include "support/testmain.h"

#include <cmath>
#include <limits>

class TestReportsCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sumInWords_data();
    void sumInWords();
    void contacts_data();
    void contacts();
    void contactWithTheSeparatorIsRefused();
    void contactsAreStoredAsTyped();
};

void TestReportsCore::sumInWords_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("words");
    auto row = [](const char* name, int kind, double amount, const char* words) {
        QTest::newRow(name) << kind << amount << QString::fromUtf8(words);
    };
    // The examples.
    row("1234.56", 0, 1234.56, "одна тысяча двести тридцать четыре рубля 56 коп.");
    row("2.999 rounds up", 0, 2.999, "три рубля 00 коп.");
    row("21 items", 1, 21, "двадцать одно наименование");
    row("a million kg", 2, 1000000, "один миллион килограмм");
    row("12.5 kg drops the fraction", 2, 12.5, "двенадцать килограмм");
    row("1000 roubles", 0, 1000, "одна тысяча рублей 00 коп.");
    // The edge cases.
    row("kopecks only", 0, 0.5, " 50 коп.");
    row("zero roubles", 0, 0, " 00 коп.");
    row("zero items", 1, 0, "");
    row("0.995 is a rouble", 0, 0.995, "один рубль 00 коп.");
    row("0.994 stays kopecks", 0, 0.994, " 99 коп.");
    row("11", 0, 11, "одиннадцать рублей 00 коп.");
    row("111", 0, 111, "сто одиннадцать рублей 00 коп.");
    row("2 000 000 001", 0, 2000000001, "два миллиарда один рубль 00 коп.");
    row("10^15", 0, 1e15, "0.00");
    row("-1", 0, -1, "0.00");
    row("not a number", 0, std::numeric_limits<double>::quiet_NaN(), "0.00");
    // The form rules: one, two to four, many; the teens; feminine thousands.
    row("2 roubles", 0, 2, "два рубля 00 коп.");
    row("5 roubles", 0, 5, "пять рублей 00 коп.");
    row("21 rouble", 0, 21, "двадцать один рубль 00 коп.");
    row("112 roubles", 0, 112, "сто двенадцать рублей 00 коп.");
    row("5 kopecks as two digits", 0, 3.05, "три рубля 05 коп.");
    row("2 thousand", 0, 2000, "две тысячи рублей 00 коп.");
    row("5 thousand", 0, 5000, "пять тысяч рублей 00 коп.");
    row("21 thousand", 0, 21000, "двадцать одна тысяча рублей 00 коп.");
    row("14 thousand", 0, 14000, "четырнадцать тысяч рублей 00 коп.");
    row("3 million", 0, 3000000, "три миллиона рублей 00 коп.");
    row("a trillion", 0, 1e12, "один триллион рублей 00 коп.");
    row("items: millions read один", 1, 21000001, "двадцать один миллион одно наименование");
    row("items: 1 billion 1", 1, 1000000001, "один миллиард одно наименование");
    row("items: thousand", 1, 1000, "одна тысяча наименований");
    row("2 items", 1, 2, "два наименования");
    row("3 kg", 2, 3, "три килограмма");
    row("1 kg", 2, 1, "один килограмм");
    row("largest amount", 0, 999999999999999.0,
        "девятьсот девяносто девять триллионов девятьсот девяносто девять миллиардов "
        "девятьсот девяносто девять миллионов девятьсот девяносто девять тысяч "
        "девятьсот девяносто девять рублей 00 коп.");
}

void TestReportsCore::sumInWords() {
    QFETCH(int, kind);
    QFETCH(double, amount);
    QFETCH(QString, words);
    QCOMPARE(SumInWords(kind, amount), words);
}

void TestReportsCore::contacts_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    auto row = [](const char* name, const char* typed, const char* stored, const char* shown) {
        QTest::newRow(name) << QString::fromUtf8(typed) << QString::fromUtf8(stored)
                            << QString::fromUtf8(shown);
    };
    row("two numbers", "222-33-44, 222-33-45", "222-33-44#222-33-45", "222-33-44, 222-33-45");
    row("runs of separators", "a,, b  c", "a#b#c", "a, b, c");
    row("leading separators vanish", ", a", "a", "a");
    row("trailing separators leave one", "a, ", "a#", "a, ");
    row("a space separates", "222 33 44", "222#33#44", "222, 33, 44");
    row("empty", "", "", "");
    row("only separators", " , ,", "", "");
    row("apostrophe and quotes", "o'neil@mail.ru, \"офис\"", "o'neil@mail.ru#\"офис\"",
        "o'neil@mail.ru, \"офис\"");
    row("unicode", "почта@завод.рф,+7(8412)55-66-77", "почта@завод.рф#+7(8412)55-66-77",
        "почта@завод.рф, +7(8412)55-66-77");
}

void TestReportsCore::contacts() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(PackContacts(typed), stored);
    QCOMPARE(UnpackContacts(stored), shown);
    // What is shown packs back to what was stored.
    QCOMPARE(PackContacts(shown), stored);
}

void TestReportsCore::contactWithTheSeparatorIsRefused() {
    for (const char* typed : {"222-33-44 доб.#12", "#1", "a, b#"}) {
        try {
            PackContacts(QString::fromUtf8(typed), QStringLiteral("Телефон:"));
            QFAIL(typed);
        } catch (const CatalogError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("«#»")), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("Телефон:")), qPrintable(e.message()));
        }
    }
}

void TestReportsCore::contactsAreStoredAsTyped() {
    CatalogFixture f(false);
    const QString tel = PackContacts(QStringLiteral("8 (495) 'доб.' \"1\""));
    f.exec(QStringLiteral("insert into enterprise ([Index], Name, Tel) values (3, %1, %2)")
               .arg(Sql::quote(QStringLiteral("ООО \"Д'Арт\"")), Sql::quote(tel)));
    QCOMPARE(f.scalar("select Tel from enterprise where [Index] = 3").toString(), tel);
    QCOMPARE(UnpackContacts(tel), QStringLiteral("8, (495), 'доб.', \"1\""));
    QCOMPARE(f.scalar("select Name from enterprise where [Index] = 3").toString(),
             QStringLiteral("ООО \"Д'Арт\""));
}

CATALOG_TEST_MAIN(TestReportsCore)
#include "tst_reportsCore.moc"
