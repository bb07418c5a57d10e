#include "standards.h"

#include <cmath>

namespace Gen {

namespace {

constexpr double steel = 7.85e-6; // kg per cubic millimetre
constexpr double pi = 3.14159265358979;

QString num(double v) {
    QString s = QString::number(v, 'f', 2);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    return s.replace(QLatin1Char('.'), QLatin1Char(','));
}

double rod(double d, double l) {
    return pi * d * d / 4 * l * steel;
}

// "М10х1,25" for a fine thread, "М8" for the coarse one.
QString thread(int d, double pitch, double coarse) {
    QString t = QStringLiteral("М%1").arg(d);
    if (pitch != coarse) t += QStringLiteral("х") + num(pitch);
    return t;
}

double coarsePitch(int d) {
    switch (d) {
    case 5:
        return 0.8;
    case 6:
        return 1;
    case 8:
        return 1.25;
    case 10:
        return 1.5;
    case 12:
        return 1.75;
    case 16:
        return 2;
    default:
        return 2.5;
    }
}

struct Builder {
    Catalogue& cat;
    int standard = -1;

    void addStandard(const char* gost, const char* name, const char* subgroup, int podGroup,
                     int picGost, const char* picture) {
        cat.standards.push_back({QString::fromUtf8(gost), QString::fromUtf8(name),
                                 QString::fromUtf8(subgroup), podGroup, picGost,
                                 QString::fromLatin1(picture)});
        standard = int(cat.standards.size()) - 1;
    }

    void item(const QString& number, const char* name, double weight, Shape shape,
              const QVector<QPair<QString, QString>>& params) {
        const Standard& s = cat.standards[standard];
        StandardItem it;
        it.standard = standard;
        it.number = number;
        it.name = QString::fromUtf8(name);
        it.fullName = it.name + QLatin1Char(' ') + number + QLatin1Char(' ') + s.gost;
        it.weight = std::round(weight * 10000) / 10000;
        it.shape = shape;
        it.params = params;
        it.params << qMakePair(QStringLiteral("Масса 1000 шт., кг"), num(weight * 1000));
        cat.items.push_back(it);
    }
};

using Params = QVector<QPair<QString, QString>>;

QPair<QString, QString> p(const char* name, const QString& value) {
    return qMakePair(QString::fromUtf8(name), value);
}

void bolts(Builder& b) {
    struct Size {
        int d;
        double pitch, s, k;
        int length;
    };
    b.addStandard("ГОСТ 7798-70", "Болты с шестигранной головкой класса точности В", "Болты", 1, 1,
                  "bolt");
    for (const Size& z :
         {Size{6, 1, 10, 4, 16}, Size{8, 1.25, 13, 5.3, 20}, Size{8, 1.25, 13, 5.3, 25},
          Size{10, 1.25, 17, 6.4, 30}, Size{10, 1.25, 17, 6.4, 40}, Size{12, 1.25, 19, 7.5, 35},
          Size{12, 1.25, 19, 7.5, 50}, Size{16, 1.5, 24, 10, 60}}) {
        const QString t = thread(z.d, z.pitch, coarsePitch(z.d));
        const double mass = rod(z.d, z.length) + 0.866 * z.s * z.s * z.k * steel;
        b.item(QStringLiteral("%1-6gх%2.58.019").arg(t).arg(z.length), "Болт", mass, Shape::Bolt,
               Params{p("Диаметр резьбы d, мм", QString::number(z.d)),
                      p("Шаг резьбы P, мм", num(z.pitch)),
                      p("Длина болта l, мм", QString::number(z.length)),
                      p("Размер под ключ S, мм", num(z.s)), p("Высота головки k, мм", num(z.k)),
                      p("Длина резьбы b, мм", QString::number(qMin(z.length, 2 * z.d + 6))),
                      p("Поле допуска резьбы", QStringLiteral("6g")),
                      p("Класс прочности", QStringLiteral("5.8")),
                      p("Покрытие", QStringLiteral("Цинковое, хроматированное")),
                      p("Толщина покрытия, мкм", QStringLiteral("9"))});
    }
    b.addStandard("ГОСТ 17473-80", "Винты с полукруглой головкой классов точности А и В", "Винты",
                  2, 1, "screw");
    for (const Size& z : {Size{5, 0.8, 9.5, 3.5, 10}, Size{6, 1, 11, 4.2, 12}}) {
        const double mass = rod(z.d, z.length) + rod(z.s, z.k) * 0.6;
        b.item(QStringLiteral("М%1-6gх%2.48.019").arg(z.d).arg(z.length), "Винт", mass, Shape::Bolt,
               Params{p("Диаметр резьбы d, мм", QString::number(z.d)),
                      p("Шаг резьбы P, мм", num(z.pitch)),
                      p("Длина винта l, мм", QString::number(z.length)),
                      p("Диаметр головки D, мм", num(z.s)), p("Высота головки k, мм", num(z.k)),
                      p("Класс прочности", QStringLiteral("4.8")),
                      p("Покрытие", QStringLiteral("Цинковое, хроматированное"))});
    }
}

void nuts(Builder& b) {
    struct Size {
        int d;
        double pitch, s, m;
    };
    b.addStandard("ГОСТ 5915-70", "Гайки шестигранные класса точности В", "Гайки", 3, 1, "nut");
    for (const Size& z : {Size{6, 1, 10, 5}, Size{8, 1.25, 13, 6.5}, Size{10, 1.25, 17, 8},
                          Size{12, 1.25, 19, 10}, Size{16, 1.5, 24, 13}}) {
        const double mass = (0.866 * z.s * z.s - pi * z.d * z.d / 4) * z.m * steel;
        b.item(QStringLiteral("%1-6Н.5.019").arg(thread(z.d, z.pitch, coarsePitch(z.d))), "Гайка",
               mass, Shape::Nut,
               Params{p("Диаметр резьбы d, мм", QString::number(z.d)),
                      p("Шаг резьбы P, мм", num(z.pitch)), p("Размер под ключ S, мм", num(z.s)),
                      p("Высота гайки m, мм", num(z.m)),
                      p("Поле допуска резьбы", QStringLiteral("6Н")),
                      p("Класс прочности", QStringLiteral("5")),
                      p("Покрытие", QStringLiteral("Цинковое, хроматированное"))});
    }
    b.addStandard("ГОСТ 5918-73", "Гайки шестигранные прорезные и корончатые класса точности В",
                  "Гайки", 3, 2, "castle");
    for (const Size& z : {Size{12, 1.25, 19, 15}, Size{16, 1.5, 24, 19}, Size{20, 1.5, 30, 22}}) {
        const double mass = (0.866 * z.s * z.s - pi * z.d * z.d / 4) * z.m * steel * 0.85;
        b.item(QStringLiteral("М%1х%2-6Н.05.019").arg(z.d).arg(num(z.pitch)), "Гайка корончатая",
               mass, Shape::Nut,
               Params{p("Диаметр резьбы d, мм", QString::number(z.d)),
                      p("Шаг резьбы P, мм", num(z.pitch)), p("Размер под ключ S, мм", num(z.s)),
                      p("Высота гайки h, мм", num(z.m)), p("Число прорезей", QStringLiteral("6")),
                      p("Класс прочности", QStringLiteral("5")),
                      p("Шплинт",
                        QStringLiteral("%1 ГОСТ 397-79")
                            .arg(z.d < 16 ? QStringLiteral("3,2х25") : QStringLiteral("4х32")))});
    }
}

void washers(Builder& b) {
    struct Size {
        int d;
        double d1, d2, s;
    };
    b.addStandard("ГОСТ 11371-78", "Шайбы. Технические условия", "Шайбы", 4, 1, "washer");
    for (const Size& z : {Size{6, 6.4, 12, 1.6}, Size{8, 8.4, 16, 1.6}, Size{10, 10.5, 20, 2},
                          Size{12, 13, 24, 2.5}}) {
        const double mass = pi / 4 * (z.d2 * z.d2 - z.d1 * z.d1) * z.s * steel;
        b.item(QStringLiteral("%1.01.019").arg(z.d), "Шайба", mass, Shape::Washer,
               Params{p("Номинальный диаметр резьбы крепежной детали, мм", QString::number(z.d)),
                      p("Внутренний диаметр d1, мм", num(z.d1)),
                      p("Наружный диаметр d2, мм", num(z.d2)), p("Толщина s, мм", num(z.s)),
                      p("Исполнение", QStringLiteral("1")), p("Материал", QStringLiteral("Ст3")),
                      p("Покрытие", QStringLiteral("Цинковое, хроматированное"))});
    }
    b.addStandard("ГОСТ 6402-70", "Шайбы пружинные. Технические условия", "Шайбы", 4, 2, "spring");
    for (const Size& z : {Size{6, 6.1, 1.4, 1.4}, Size{8, 8.2, 2, 2}, Size{10, 10.2, 2.5, 2.5},
                          Size{12, 12.2, 3, 3}}) {
        const double mass = pi * (z.d1 + z.d2) * z.d2 * z.s * steel;
        b.item(QStringLiteral("%1.65Г.019").arg(z.d), "Шайба пружинная", mass, Shape::Washer,
               Params{p("Номинальный диаметр резьбы болта, мм", QString::number(z.d)),
                      p("Внутренний диаметр d, мм", num(z.d1)),
                      p("Ширина и толщина сечения b = s, мм", num(z.s)),
                      p("Тип", QStringLiteral("Нормальная")),
                      p("Материал", QStringLiteral("Сталь 65Г")),
                      p("Твердость, HRC", QStringLiteral("40...48"))});
    }
}

void bearings(Builder& b) {
    struct Size {
        const char* number;
        double d, D, B, r, dw;
        int z;
        double c, c0;
        int speed;
        double mass;
    };
    b.addStandard("ГОСТ 8338-75", "Подшипники шариковые радиальные однорядные", "Подшипники", 5, 1,
                  "ball");
    for (const Size& s : {Size{"204", 20, 47, 14, 1.5, 7.94, 8, 12.7, 6.2, 15000, 0.106},
                          Size{"205", 25, 52, 15, 1.5, 7.94, 9, 14, 6.95, 12000, 0.128},
                          Size{"206", 30, 62, 16, 1.5, 9.53, 9, 19.5, 10, 10000, 0.199},
                          Size{"6-305", 25, 62, 17, 2, 11.5, 7, 22.5, 11.4, 10000, 0.232},
                          Size{"307", 35, 80, 21, 2.5, 14.29, 7, 33.2, 18, 8500, 0.457}}) {
        const QString number = QString::fromLatin1(s.number);
        b.item(
            number, "Подшипник", s.mass, Shape::Bearing,
            Params{p("Внутренний диаметр d, мм", num(s.d)), p("Наружный диаметр D, мм", num(s.D)),
                   p("Ширина B, мм", num(s.B)), p("Радиус фаски r, мм", num(s.r)),
                   p("Диаметр шарика Dw, мм", num(s.dw)), p("Число шариков", QString::number(s.z)),
                   p("Грузоподъемность динамическая C, кН", num(s.c)),
                   p("Грузоподъемность статическая C0, кН", num(s.c0)),
                   p("Предельная частота вращения, мин-1", QString::number(s.speed)),
                   p("Класс точности", number.startsWith(QLatin1Char('6')) ? QStringLiteral("6")
                                                                           : QStringLiteral("0")),
                   p("Радиальный зазор", QStringLiteral("Нормальный")),
                   p("Тип", QStringLiteral("Шариковый радиальный однорядный"))});
    }
    b.addStandard("ГОСТ 8328-75",
                  "Подшипники роликовые радиальные с короткими цилиндрическими роликами",
                  "Подшипники", 5, 2, "roller");
    for (const Size& s : {Size{"2207", 35, 72, 17, 2, 10, 12, 31.9, 21.6, 8000, 0.3},
                          Size{"32210", 50, 90, 20, 2, 12, 14, 52.8, 38, 6300, 0.53}}) {
        b.item(QString::fromLatin1(s.number), "Подшипник роликовый", s.mass, Shape::Bearing,
               Params{p("Внутренний диаметр d, мм", num(s.d)),
                      p("Наружный диаметр D, мм", num(s.D)), p("Ширина B, мм", num(s.B)),
                      p("Радиус фаски r, мм", num(s.r)), p("Диаметр ролика Dw, мм", num(s.dw)),
                      p("Число роликов", QString::number(s.z)),
                      p("Грузоподъемность динамическая C, кН", num(s.c)),
                      p("Грузоподъемность статическая C0, кН", num(s.c0)),
                      p("Предельная частота вращения, мин-1", QString::number(s.speed)),
                      p("Класс точности", QStringLiteral("0"))});
    }
}

void rings(Builder& b) {
    b.addStandard("ГОСТ 9833-73", "Кольца резиновые уплотнительные круглого сечения", "Кольца", 6,
                  1, "oring");
    struct Ring {
        int d, D;
        double section;
    };
    for (const Ring& r : {Ring{18, 22, 2.5}, Ring{30, 35, 3}, Ring{45, 50, 3}}) {
        const double mass = pi * (r.d + r.section) * pi * r.section * r.section / 4 * 1.3e-6;
        b.item(QStringLiteral("%1-%2-%3")
                   .arg(r.d, 3, 10, QLatin1Char('0'))
                   .arg(r.D, 3, 10, QLatin1Char('0'))
                   .arg(int(r.section * 10)),
               "Кольцо", mass, Shape::Ring,
               Params{p("Внутренний диаметр d, мм", QString::number(r.d)),
                      p("Диаметр сечения, мм", num(r.section)),
                      p("Диаметр штока (вала), мм", QString::number(r.d)),
                      p("Диаметр цилиндра, мм", QString::number(r.D)),
                      p("Группа резины", QStringLiteral("2")),
                      p("Материал", QStringLiteral("Резина маслобензостойкая"))});
    }
    b.addStandard("ГОСТ 13942-86", "Кольца пружинные упорные плоские наружные эксцентрические",
                  "Кольца", 6, 2, "circlip");
    for (const int d : {30, 45}) {
        const double s = d < 40 ? 1.5 : 1.75;
        const double mass = pi * (d + 3) * 3.5 * s * steel;
        b.item(QStringLiteral("А%1.65Г").arg(d), "Кольцо упорное", mass, Shape::Ring,
               Params{p("Диаметр вала d, мм", QString::number(d)), p("Толщина s, мм", num(s)),
                      p("Диаметр канавки, мм", num(d * 0.94)),
                      p("Материал", QStringLiteral("Сталь 65Г")),
                      p("Покрытие", QStringLiteral("Оксидное"))});
    }
}

void pins(Builder& b) {
    b.addStandard("ГОСТ 397-79", "Шплинты. Технические условия", "Шплинты и штифты", 7, 1,
                  "cotter");
    struct Pin {
        double d;
        int l;
    };
    for (const Pin& z : {Pin{2.5, 20}, Pin{3.2, 25}, Pin{4, 32}}) {
        b.item(QStringLiteral("%1х%2.019").arg(num(z.d)).arg(z.l), "Шплинт", rod(z.d, z.l) * 0.8,
               Shape::Pin,
               Params{p("Условный диаметр d, мм", num(z.d)), p("Длина l, мм", QString::number(z.l)),
                      p("Материал", QStringLiteral("Сталь 10")),
                      p("Покрытие", QStringLiteral("Цинковое, хроматированное"))});
    }
    b.addStandard("ГОСТ 3128-70", "Штифты цилиндрические незакаленные", "Шплинты и штифты", 7, 2,
                  "pin");
    for (const Pin& z : {Pin{6, 20}, Pin{8, 30}}) {
        b.item(QStringLiteral("%1х%2").arg(num(z.d)).arg(z.l), "Штифт", rod(z.d, z.l), Shape::Pin,
               Params{p("Диаметр d, мм", num(z.d)), p("Длина l, мм", QString::number(z.l)),
                      p("Поле допуска", QStringLiteral("m6")),
                      p("Материал", QStringLiteral("Сталь 45"))});
    }
}

void others(Builder& b) {
    b.addStandard("ГОСТ 22032-76", "Шпильки с ввинчиваемым концом длиной 1d класса точности В",
                  "Шпильки", 8, 1, "stud");
    for (const int d : {10, 12}) {
        const int l = d == 10 ? 35 : 40;
        b.item(QStringLiteral("М%1х1,25-6gх%2.58").arg(d).arg(l), "Шпилька", rod(d, l + d),
               Shape::Pin,
               Params{p("Диаметр резьбы d, мм", QString::number(d)),
                      p("Шаг резьбы P, мм", QStringLiteral("1,25")),
                      p("Длина l, мм", QString::number(l)),
                      p("Длина ввинчиваемого конца b1, мм", QString::number(d)),
                      p("Длина резьбы гаечного конца b, мм", QString::number(2 * d + 6)),
                      p("Класс прочности", QStringLiteral("5.8"))});
    }
    b.addStandard("ГОСТ 8752-79", "Манжеты резиновые армированные для валов", "Манжеты", 9, 1,
                  "cuff");
    for (const int d : {40, 50}) {
        b.item(QStringLiteral("1.1-%1х%2-1").arg(d).arg(d + 20), "Манжета", d * 0.0012, Shape::Ring,
               Params{p("Диаметр вала d, мм", QString::number(d)),
                      p("Наружный диаметр D, мм", QString::number(d + 20)),
                      p("Высота h, мм", QStringLiteral("10")),
                      p("Тип", QStringLiteral("1 (с пыльником)")),
                      p("Исполнение", QStringLiteral("1")),
                      p("Группа резины", QStringLiteral("1"))});
    }
    b.addStandard("ГОСТ 19853-74", "Масленки. Технические условия", "Масленки", 10, 1, "nipple");
    b.item(QStringLiteral("1.2.Ц6"), "Масленка", 0.006, Shape::Nut,
           Params{p("Резьба", QStringLiteral("М10х1")), p("Тип", QStringLiteral("1 (прямая)")),
                  p("Исполнение", QStringLiteral("2")), p("Покрытие", QStringLiteral("Цинковое"))});
}

} // namespace

void addStandards(Catalogue& cat) {
    Builder b{cat};
    bolts(b);
    nuts(b);
    washers(b);
    bearings(b);
    rings(b);
    pins(b);
    others(b);
}

int standardFrequency(const Standard& s) {
    static const QVector<QPair<const char*, int>> table = {
        {"bolt", 10},  {"screw", 2}, {"nut", 6},    {"castle", 2}, {"washer", 5},
        {"spring", 6}, {"ball", 2},  {"roller", 1}, {"oring", 3},  {"circlip", 2},
        {"cotter", 2}, {"pin", 1},   {"stud", 2},   {"cuff", 2},   {"nipple", 1}};
    for (const auto& e : table)
        if (s.illustration == QLatin1String(e.first)) return e.second;
    return 1;
}

int standardMaxQuantity(const Standard& s) {
    for (const char* many : {"bolt", "screw", "nut", "washer", "spring", "stud"})
        if (s.illustration == QLatin1String(many)) return 12;
    return 2;
}

} // namespace Gen
