#include "vocabulary.h"

#include <cmath>

namespace Gen::Words {

namespace {

enum Gender { M, F, N, P };

struct Noun {
    const char* text;
    Gender gender;
    Shape shape;
    double wmin, wmax;
    bool head;  // can name a sub-assembly
    bool fixed; // already qualified: takes no adjective or complement
    int frequency;
};

using S = Shape;

// Nouns of every group. "Втулка" is frequent, as it is on tractors.
const QVector<Noun>& commonNouns() {
    static const QVector<Noun> nouns = {
        {"Втулка", F, S::Bushing, 0.02, 0.8, true, false, 13},
        {"Шестерня", F, S::Gear, 0.3, 6, true, false, 4},
        {"Вал", M, S::Shaft, 0.8, 12, true, false, 3},
        {"Крышка", F, S::Cover, 0.2, 4, true, false, 4},
        {"Прокладка", F, S::Washer, 0.005, 0.2, false, false, 4},
        {"Кольцо", N, S::Ring, 0.005, 0.1, false, false, 3},
        {"Манжета", F, S::Ring, 0.02, 0.15, false, false, 2},
        {"Корпус", M, S::Housing, 1, 25, true, false, 3},
        {"Фланец", M, S::Disc, 0.3, 3, false, false, 2},
        {"Палец", M, S::Pin, 0.05, 0.6, false, false, 2},
        {"Ось", F, S::Shaft, 0.2, 3, false, false, 2},
        {"Рычаг", M, S::Lever, 0.3, 4, true, false, 3},
        {"Пружина", F, S::Spring, 0.01, 0.5, false, false, 3},
        {"Шланг", M, S::Pipe, 0.1, 1.2, false, false, 2},
        {"Трубка", F, S::Pipe, 0.05, 0.8, true, false, 2},
        {"Кронштейн", M, S::Lever, 0.3, 6, true, false, 3},
        {"Пластина", F, S::Washer, 0.05, 1, false, false, 2},
        {"Стакан", M, S::Bushing, 0.2, 2, false, false, 1},
        {"Шкив", M, S::Disc, 0.8, 6, false, false, 1},
        {"Ступица", F, S::Housing, 2, 12, true, false, 1},
        {"Шпонка", F, S::Pin, 0.005, 0.05, false, false, 2},
        {"Штуцер", M, S::Nut, 0.02, 0.2, false, false, 2},
        {"Пробка", F, S::Nut, 0.01, 0.15, false, false, 2},
        {"Тяга", F, S::Shaft, 0.3, 3, true, false, 2},
        {"Вилка", F, S::Lever, 0.3, 2.5, true, false, 2},
        {"Муфта", F, S::Bushing, 0.3, 4, true, false, 2},
        {"Диск", M, S::Disc, 0.3, 5, true, false, 2},
        {"Сальник", M, S::Ring, 0.02, 0.2, false, false, 1},
        {"Хомут", M, S::Ring, 0.01, 0.1, false, false, 2},
        {"Патрубок", M, S::Pipe, 0.1, 1, false, false, 1},
        {"Заглушка", F, S::Cover, 0.005, 0.1, false, false, 2},
        {"Упор", M, S::Pin, 0.05, 0.5, false, false, 1},
        {"Опора", F, S::Housing, 0.5, 5, true, false, 1},
        {"Клапан", M, S::Pin, 0.05, 0.4, true, false, 1},
        {"Шайба", F, S::Washer, 0.005, 0.1, false, false, 2},
        {"Кожух", M, S::Cover, 0.5, 4, false, false, 1},
        {"Толкатель", M, S::Pin, 0.05, 0.3, false, false, 1},
        {"Поводок", M, S::Lever, 0.05, 0.5, false, false, 1},
        {"Кулачок", M, S::Disc, 0.05, 0.4, false, false, 1},
        {"Сектор", M, S::Lever, 0.2, 1.5, false, false, 1},
        {"Экран", M, S::Cover, 0.2, 2, false, false, 1},
        {"Стопор", M, S::Pin, 0.01, 0.1, false, false, 1},
        {"Звёздочка", F, S::Gear, 0.2, 2, false, false, 1},
        {"Колпак", M, S::Cover, 0.1, 0.8, false, false, 1},
        {"Ролик", M, S::Bushing, 0.05, 0.6, false, false, 1},
        {"Сухарь", M, S::Pin, 0.005, 0.03, false, false, 1},
        {"Шток", M, S::Shaft, 0.2, 3, false, false, 1},
        {"Поршень", M, S::Bushing, 0.3, 2.5, true, false, 1},
        {"Цилиндр", M, S::Housing, 1.5, 10, true, false, 1},
    };
    return nouns;
}

// Nouns of one group, by group number.
const QVector<Noun>& groupNouns(const QString& group) {
    static const QVector<QPair<const char*, QVector<Noun>>> table = {
        {"10",
         {{"Поршень", M, S::Bushing, 0.6, 1.8, true, false, 2},
          {"Кольцо поршневое", N, S::Ring, 0.01, 0.05, false, true, 2},
          {"Палец поршневой", M, S::Pin, 0.2, 0.5, false, true, 1},
          {"Шатун", M, S::Lever, 1.5, 3.5, true, false, 1},
          {"Вкладыш", M, S::Washer, 0.03, 0.1, false, false, 2},
          {"Гильза цилиндра", F, S::Bushing, 2, 4, false, true, 1},
          {"Коромысло", N, S::Lever, 0.2, 0.5, false, false, 1},
          {"Штанга толкателя", F, S::Pin, 0.1, 0.3, false, true, 1},
          {"Маховик", M, S::Disc, 20, 40, true, false, 1},
          {"Венец маховика", M, S::Gear, 3, 6, false, true, 1}}},
        {"11",
         {{"Форсунка", F, S::Pin, 0.3, 0.6, true, false, 2},
          {"Плунжер", M, S::Pin, 0.05, 0.1, false, false, 1},
          {"Топливопровод", M, S::Pipe, 0.1, 0.4, false, false, 3},
          {"Элемент фильтрующий", M, S::Bushing, 0.2, 0.6, false, true, 1},
          {"Поплавок", M, S::Ring, 0.05, 0.1, false, false, 1},
          {"Горловина", F, S::Cover, 0.3, 0.8, false, false, 1},
          {"Кран", M, S::Nut, 0.1, 0.3, true, false, 1}}},
        {"13",
         {{"Крыльчатка", F, S::Gear, 0.3, 0.9, false, false, 1},
          {"Термостат", M, S::Bushing, 0.2, 0.4, false, false, 1},
          {"Радиатор", M, S::Housing, 8, 20, true, false, 1},
          {"Вентилятор", M, S::Disc, 1, 3, true, false, 1},
          {"Ремень", M, S::Ring, 0.2, 0.5, false, false, 1},
          {"Бачок", M, S::Housing, 0.5, 1.5, true, false, 1}}},
        {"16",
         {{"Диск нажимной", M, S::Disc, 3, 8, false, true, 1},
          {"Накладка фрикционная", F, S::Washer, 0.2, 0.5, false, true, 2},
          {"Рычаг отжимной", M, S::Lever, 0.2, 0.5, false, true, 1},
          {"Вилка выключения", F, S::Lever, 0.5, 1.2, false, true, 1},
          {"Кожух сцепления", M, S::Cover, 2, 6, true, true, 1}}},
        {"17",
         {{"Синхронизатор", M, S::Gear, 0.8, 2, true, false, 1},
          {"Ползун", M, S::Shaft, 0.3, 0.8, false, false, 1},
          {"Фиксатор", M, S::Pin, 0.02, 0.1, false, false, 2},
          {"Валик переключения", M, S::Shaft, 0.3, 0.9, false, true, 1},
          {"Кулиса", F, S::Lever, 0.4, 1.2, false, false, 1}}},
        {"23",
         {{"Кулак поворотный", M, S::Lever, 6, 15, true, true, 1},
          {"Шкворень", M, S::Pin, 0.8, 2, false, false, 1},
          {"Полуось", F, S::Shaft, 6, 15, true, false, 1},
          {"Чашка дифференциала", F, S::Housing, 3, 7, false, true, 1}}},
        {"24",
         {{"Сателлит", M, S::Gear, 0.5, 1.5, false, false, 2},
          {"Шестерня полуосевая", F, S::Gear, 1, 3, false, true, 1},
          {"Полуось", F, S::Shaft, 8, 18, true, false, 1},
          {"Крестовина", F, S::Lever, 0.5, 1.5, false, false, 1},
          {"Чашка дифференциала", F, S::Housing, 4, 9, false, true, 1}}},
        {"31",
         {{"Колесо", N, S::Disc, 20, 60, true, false, 1},
          {"Диск колеса", M, S::Disc, 15, 30, false, true, 1},
          {"Обод", M, S::Ring, 10, 25, false, false, 1},
          {"Груз балластный", M, S::Disc, 20, 45, false, true, 1},
          {"Лонжерон", M, S::Shaft, 30, 60, false, false, 1},
          {"Брус", M, S::Shaft, 10, 25, false, false, 1}}},
        {"34",
         {{"Сошка", F, S::Lever, 1, 2.5, false, false, 1},
          {"Наконечник тяги", M, S::Lever, 0.5, 1.2, true, true, 2},
          {"Червяк", M, S::Shaft, 1, 3, false, false, 1},
          {"Колесо рулевое", N, S::Disc, 1.5, 2.5, false, true, 1},
          {"Золотник", M, S::Pin, 0.2, 0.5, false, false, 1},
          {"Гидроцилиндр", M, S::Housing, 4, 9, true, false, 1}}},
        {"35",
         {{"Колодка тормозная", F, S::Lever, 0.8, 2, true, true, 2},
          {"Накладка", F, S::Washer, 0.2, 0.6, false, false, 2},
          {"Барабан тормозной", M, S::Housing, 6, 14, false, true, 1},
          {"Педаль", F, S::Lever, 1, 2.5, true, false, 1},
          {"Кулак разжимной", M, S::Shaft, 0.5, 1.5, false, true, 1},
          {"Диск тормозной", M, S::Disc, 1, 3, false, true, 1}}},
        {"37",
         {{"Фара", F, S::Cover, 0.6, 1.5, true, false, 1},
          {"Фонарь", M, S::Cover, 0.2, 0.5, false, false, 1},
          {"Провод", M, S::Pipe, 0.02, 0.2, false, false, 3},
          {"Жгут", M, S::Pipe, 0.2, 1.2, true, false, 1},
          {"Реле", N, S::Nut, 0.05, 0.2, false, false, 1},
          {"Выключатель", M, S::Nut, 0.05, 0.2, false, false, 2},
          {"Датчик", M, S::Pin, 0.05, 0.2, false, false, 2},
          {"Предохранитель", M, S::Pin, 0.005, 0.02, false, false, 1},
          {"Лампа", F, S::Ring, 0.01, 0.05, false, false, 1}}},
        {"42",
         {{"Хвостовик", M, S::Shaft, 2, 5, true, false, 1},
          {"Муфта переключения", F, S::Bushing, 0.5, 1.5, false, true, 1},
          {"Валик управления", M, S::Shaft, 0.3, 0.9, false, true, 1}}},
        {"45",
         {{"Раскос", M, S::Shaft, 4, 9, true, false, 1},
          {"Шарнир", M, S::Bushing, 0.5, 1.5, false, false, 1},
          {"Крюк", M, S::Lever, 2, 5, true, false, 1},
          {"Серьга", F, S::Lever, 1, 3, false, false, 1},
          {"Шкворень", M, S::Pin, 0.5, 1.5, false, false, 1}}},
        {"46",
         {{"Распределитель", M, S::Housing, 6, 14, true, false, 1},
          {"Золотник", M, S::Pin, 0.3, 0.8, false, false, 1},
          {"Маслопровод", M, S::Pipe, 0.2, 1.2, false, false, 3},
          {"Рукав высокого давления", M, S::Pipe, 0.3, 1, false, true, 2},
          {"Фильтр", M, S::Bushing, 0.5, 2, true, false, 1}}},
        {"67",
         {{"Стекло", N, S::Washer, 1, 6, false, false, 2},
          {"Уплотнитель", M, S::Ring, 0.1, 0.6, false, false, 2},
          {"Ручка", F, S::Lever, 0.1, 0.4, false, false, 1},
          {"Замок", M, S::Nut, 0.3, 0.8, true, false, 1},
          {"Петля", F, S::Lever, 0.2, 0.5, false, false, 1},
          {"Зеркало", N, S::Disc, 0.4, 0.9, true, false, 1},
          {"Обивка", F, S::Washer, 0.5, 2, false, false, 1},
          {"Подушка сиденья", F, S::Cover, 1.5, 3, false, true, 1},
          {"Щётка стеклоочистителя", F, S::Pin, 0.1, 0.2, false, true, 1}}},
    };
    for (const auto& entry : table)
        if (group == QLatin1String(entry.first)) return entry.second;
    static const QVector<Noun> none;
    return none;
}

// Adjective forms: masculine, feminine, neuter, plural.
const char* const adjectives[][4] = {
    {"передний", "передняя", "переднее", "передние"},
    {"задний", "задняя", "заднее", "задние"},
    {"левый", "левая", "левое", "левые"},
    {"правый", "правая", "правое", "правые"},
    {"верхний", "верхняя", "верхнее", "верхние"},
    {"нижний", "нижняя", "нижнее", "нижние"},
    {"ведущий", "ведущая", "ведущее", "ведущие"},
    {"ведомый", "ведомая", "ведомое", "ведомые"},
    {"промежуточный", "промежуточная", "промежуточное", "промежуточные"},
    {"регулировочный", "регулировочная", "регулировочное", "регулировочные"},
    {"уплотнительный", "уплотнительная", "уплотнительное", "уплотнительные"},
    {"распорный", "распорная", "распорное", "распорные"},
    {"опорный", "опорная", "опорное", "опорные"},
    {"защитный", "защитная", "защитное", "защитные"},
    {"стопорный", "стопорная", "стопорное", "стопорные"},
    {"упорный", "упорная", "упорное", "упорные"},
    {"натяжной", "натяжная", "натяжное", "натяжные"},
    {"нажимной", "нажимная", "нажимное", "нажимные"},
    {"соединительный", "соединительная", "соединительное", "соединительные"},
    {"внутренний", "внутренняя", "внутреннее", "внутренние"},
    {"наружный", "наружная", "наружное", "наружные"},
};

// Complements in the genitive with the nouns of the parts that belong to them, so that a name
// reads as a real part does ("Втулка вала", "Пружина клапана"; never "Шестерня шестерни" or
// "Пружина подшипника"). A noun listed under none takes no complement.
struct Complement {
    const char* word;
    QVector<const char*> nouns;
};

const QVector<Complement>& complements() {
    static const QVector<Complement> list = {
        {"вала",
         {"Втулка", "Шестерня", "Крышка", "Шпонка", "Шкив", "Фланец", "Кольцо", "Манжета",
          "Сальник", "Звёздочка", "Опора", "Шайба"}},
        {"подшипника", {"Втулка", "Крышка", "Корпус", "Кольцо", "Стакан", "Прокладка", "Шайба"}},
        {"корпуса", {"Крышка", "Прокладка", "Пробка", "Штуцер", "Заглушка", "Кронштейн"}},
        {"крышки", {"Прокладка", "Пробка", "Кронштейн", "Заглушка"}},
        {"рычага", {"Ось", "Палец", "Втулка", "Пружина", "Тяга", "Вилка"}},
        {"оси", {"Втулка", "Шайба", "Стопор", "Кронштейн"}},
        {"шестерни", {"Втулка", "Ось", "Ступица", "Шайба", "Кольцо"}},
        {"клапана", {"Пружина", "Втулка", "Сухарь", "Корпус", "Крышка", "Толкатель"}},
        {"насоса",
         {"Корпус", "Крышка", "Прокладка", "Кронштейн", "Шестерня", "Вал", "Шкив", "Патрубок",
          "Штуцер"}},
        {"фильтра", {"Корпус", "Крышка", "Прокладка", "Стакан", "Кронштейн", "Пробка"}},
        {"муфты", {"Вилка", "Пружина", "Диск", "Корпус", "Рычаг", "Ступица"}},
        {"педали", {"Пружина", "Ось", "Рычаг", "Тяга", "Кронштейн", "Втулка", "Упор"}},
        {"тяги", {"Вилка", "Палец", "Пружина", "Рычаг", "Кронштейн"}},
        {"штока", {"Втулка", "Манжета", "Кольцо"}},
        {"поршня", {"Палец", "Кольцо", "Шток"}},
        {"барабана", {"Ступица", "Крышка", "Вал", "Кожух"}},
        {"фланца", {"Прокладка", "Шайба"}},
        {"кронштейна", {"Пластина", "Ось", "Втулка", "Упор"}},
        {"втулки", {"Кольцо", "Стопор", "Шайба"}},
        {"распределителя", {"Корпус", "Крышка", "Рычаг", "Кронштейн", "Пружина"}},
        {"ступицы", {"Крышка", "Кольцо", "Манжета", "Сальник", "Фланец"}},
    };
    return list;
}

// The complements that suit a noun.
QStringList complementsOf(const Noun& noun) {
    QStringList words;
    for (const Complement& c : complements())
        for (const char* n : c.nouns)
            if (qstrcmp(n, noun.text) == 0) words << QString::fromUtf8(c.word);
    return words;
}

// The common nouns of the engine and transmission that the cab and the electrical equipment
// have none of: a cab's drawing shows no gears, pistons or keyed shafts.
bool mechanismOnly(const Noun& n) {
    static const char* const words[] = {"Шестерня",  "Вал",     "Шкив",    "Ступица",   "Шпонка",
                                        "Звёздочка", "Поршень", "Цилиндр", "Толкатель", "Кулачок",
                                        "Сухарь",    "Клапан",  "Шток",    "Муфта",     "Диск",
                                        "Сальник",   "Манжета", "Стакан",  "Сектор",    "Поводок"};
    for (const char* w : words)
        if (qstrcmp(w, n.text) == 0) return true;
    return false;
}

bool bodyGroup(const QString& group) {
    return group == QLatin1String("37") || group == QLatin1String("67");
}

const Noun& pickNoun(Random& rng, const QString& group, bool heads) {
    const QVector<Noun>& own = groupNouns(group);
    QVector<const Noun*> pool;
    QVector<double> weights;
    for (const QVector<Noun>* list : {&own, &commonNouns()})
        for (const Noun& n : *list) {
            if (heads && !n.head) continue;
            if (list != &own && bodyGroup(group) && mechanismOnly(n)) continue;
            // The group's own words weigh more, so a drawing reads like its subject.
            pool << &n;
            weights << double(n.frequency) * (list == &own ? 4.0 : 1.0);
        }
    return *pool[rng.weighted(weights)];
}

QString qualify(Random& rng, const Noun& noun) {
    QString name = QString::fromUtf8(noun.text);
    if (noun.fixed) return name;
    const double r = rng.real();
    if (r < 0.45) return name;
    const QString adjective = QString::fromUtf8(rng.pick(adjectives)[noun.gender]);
    // "Упор упорный", "Опора опорная" say the same thing twice.
    if (adjective.left(3).compare(name.left(3), Qt::CaseInsensitive) == 0) return name;
    const QStringList suitable = complementsOf(noun);
    if (r < 0.75 || suitable.isEmpty()) return name + QLatin1Char(' ') + adjective;
    const QString complement = suitable[rng.between(0, int(suitable.size()) - 1)];
    if (r < 0.95) return name + QLatin1Char(' ') + complement;
    return name + QLatin1Char(' ') + complement + QLatin1Char(' ') + adjective;
}

double weightOf(Random& rng, const Noun& noun) {
    // Spread evenly on a log scale: small parts are many, heavy ones few.
    const double lo = std::log(noun.wmin), hi = std::log(noun.wmax);
    return std::exp(rng.real(lo, hi));
}

} // namespace

const QVector<GroupWords>& groups() {
    static const QVector<GroupWords> list = {
        {"00",
         "",
         {{"Общий вид трактора", "Трактор в сборе"},
          {"Инструмент и принадлежности", "Комплект инструмента и принадлежностей"}}},
        {"10",
         "Двигатель",
         {{"Блок цилиндров", "Блок цилиндров в сборе"},
          {"Головка цилиндров", "Головка цилиндров в сборе"},
          {"Кривошипно-шатунный механизм", "Вал коленчатый в сборе"},
          {"Механизм газораспределения", "Вал распределительный в сборе"},
          {"Насос масляный", "Насос масляный в сборе"},
          {"Фильтр масляный", "Фильтр масляный в сборе"},
          {"Картер масляный", "Картер масляный в сборе"},
          {"Установка двигателя", "Двигатель в сборе"}}},
        {"11",
         "Система питания",
         {{"Бак топливный", "Бак топливный в сборе"},
          {"Насос топливный высокого давления", "Насос топливный в сборе"},
          {"Фильтр тонкой очистки топлива", "Фильтр топливный в сборе"},
          {"Воздухоочиститель", "Воздухоочиститель в сборе"},
          {"Топливопроводы", "Комплект топливопроводов"},
          {"Форсунка", "Форсунка в сборе"}}},
        {"13",
         "Система охлаждения",
         {{"Радиатор водяной", "Радиатор водяной в сборе"},
          {"Насос водяной", "Насос водяной в сборе"},
          {"Вентилятор", "Вентилятор в сборе"},
          {"Термостат", "Корпус термостата в сборе"},
          {"Патрубки и шланги", "Комплект патрубков"}}},
        {"16",
         "Сцепление",
         {{"Муфта сцепления", "Муфта сцепления в сборе"},
          {"Механизм управления сцеплением", "Механизм управления в сборе"},
          {"Диск ведомый", "Диск ведомый в сборе"},
          {"Корпус сцепления", "Корпус сцепления в сборе"}}},
        {"17",
         "Коробка передач",
         {{"Коробка передач", "Коробка передач в сборе"},
          {"Вал первичный", "Вал первичный в сборе"},
          {"Вал вторичный", "Вал вторичный в сборе"},
          {"Механизм переключения передач", "Механизм переключения в сборе"},
          {"Крышка коробки передач", "Крышка коробки передач в сборе"},
          {"Редуктор понижающий", "Редуктор понижающий в сборе"}}},
        {"23",
         "Передний мост",
         {{"Мост передний", "Мост передний в сборе"},
          {"Ось передняя", "Ось передняя в сборе"},
          {"Ступица переднего колеса", "Ступица в сборе"},
          {"Кулак поворотный", "Кулак поворотный в сборе"}}},
        {"24",
         "Задний мост",
         {{"Мост задний", "Мост задний в сборе"},
          {"Главная передача", "Передача главная в сборе"},
          {"Дифференциал", "Дифференциал в сборе"},
          {"Конечная передача", "Передача конечная в сборе"},
          {"Полуось", "Полуось в сборе"}}},
        {"31",
         "Ходовая часть",
         {{"Рама", "Рама в сборе"},
          {"Колесо переднее", "Колесо переднее в сборе"},
          {"Колесо заднее", "Колесо заднее в сборе"},
          {"Подвеска", "Подвеска в сборе"},
          {"Грузы балластные", "Комплект грузов балластных"}}},
        {"34",
         "Рулевое управление",
         {{"Механизм рулевой", "Механизм рулевой в сборе"},
          {"Колонка рулевая", "Колонка рулевая в сборе"},
          {"Тяги рулевые", "Тяга рулевая в сборе"},
          {"Гидроусилитель руля", "Гидроусилитель в сборе"},
          {"Насос гидроусилителя", "Насос гидроусилителя в сборе"}}},
        {"35",
         "Тормоза",
         {{"Тормоз", "Тормоз в сборе"},
          {"Тормоз стояночный", "Тормоз стояночный в сборе"},
          {"Привод тормозов", "Привод тормозов в сборе"},
          {"Педали тормозов", "Педаль тормоза в сборе"},
          {"Кран тормозной", "Кран тормозной в сборе"}}},
        {"37",
         "Электрооборудование",
         {{"Генератор", "Генератор в сборе"},
          {"Стартер", "Стартер в сборе"},
          {"Фары и фонари", "Фара в сборе"},
          {"Щиток приборов", "Щиток приборов в сборе"},
          {"Жгуты проводов", "Жгут проводов в сборе"},
          {"Установка аккумуляторной батареи", "Установка батареи"}}},
        {"42",
         "ВОМ",
         {{"Вал отбора мощности", "Вал отбора мощности в сборе"},
          {"Редуктор ВОМ", "Редуктор ВОМ в сборе"},
          {"Управление ВОМ", "Механизм управления ВОМ в сборе"},
          {"Хвостовик ВОМ", "Хвостовик в сборе"}}},
        {"45",
         "Навесное устройство",
         {{"Механизм навески", "Механизм навесной в сборе"},
          {"Тяги навески", "Тяга нижняя в сборе"},
          {"Раскос", "Раскос в сборе"},
          {"Устройство прицепное", "Устройство прицепное в сборе"}}},
        {"46",
         "Гидросистема",
         {{"Насос шестеренный", "Насос шестеренный в сборе"},
          {"Распределитель", "Распределитель в сборе"},
          {"Цилиндр гидравлический", "Цилиндр гидравлический в сборе"},
          {"Бак масляный", "Бак масляный в сборе"},
          {"Маслопроводы", "Комплект маслопроводов"}}},
        {"67",
         "Кабина",
         {{"Кабина", "Кабина в сборе"},
          {"Дверь", "Дверь в сборе"},
          {"Сиденье", "Сиденье в сборе"},
          {"Отопитель", "Отопитель в сборе"},
          {"Стеклоочиститель", "Стеклоочиститель в сборе"},
          {"Облицовка", "Облицовка в сборе"}}},
    };
    return list;
}

Named part(Random& rng, int group) {
    const Noun& noun = pickNoun(rng, QString::fromUtf8(groups()[group].number), false);
    return {qualify(rng, noun), noun.shape, weightOf(rng, noun)};
}

Named subAssembly(Random& rng, int group) {
    const Noun& noun = pickNoun(rng, QString::fromUtf8(groups()[group].number), true);
    QString name = QString::fromUtf8(noun.text);
    if (!noun.fixed && rng.chance(0.3)) {
        const QString adjective = QString::fromUtf8(rng.pick(adjectives)[noun.gender]);
        if (adjective.left(3).compare(name.left(3), Qt::CaseInsensitive) != 0)
            name += QLatin1Char(' ') + adjective;
    }
    const double weight = weightOf(rng, noun);
    return {name + QStringLiteral(" в сборе"), noun.shape, weight * rng.real(2, 5)};
}

QStringList remarks(Random& rng) {
    QStringList list = {
        "Для левой стороны",         "Для правой стороны",
        "Устанавливается по заказу", "Поставляется в комплекте",
        "Подбирается при сборке",    "Ремонтный размер",
        "Количество по потребности", "Для тракторов с кабиной",
        "Для тракторов без кабины",  "Только для экспортного исполнения",
    };
    for (int i = 0; i < 3; ++i)
        list << QStringLiteral("Применяется с трактора № %1").arg(rng.between(10000, 899999));
    for (int i = 0; i < 2; ++i)
        list << QStringLiteral("Применяется до %1 г.").arg(rng.between(1995, 2012));
    list << QStringLiteral("Взаимозаменяем с предыдущим исполнением");
    list << QStringLiteral("Момент затяжки %1 Н·м").arg(rng.between(4, 30) * 10);
    return list;
}

} // namespace Gen::Words
