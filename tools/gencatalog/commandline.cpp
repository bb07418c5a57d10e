#include "commandline.h"

#include "generator.h"

#include <QElapsedTimer>

namespace Gen {

namespace {

const char* const usage =
    "Использование: gencatalog <папка> [--seed N] [--parts N]\n"
    "  Записывает в папку демонстрационный каталог: base.mdb, PIC/ и catalog.html.\n"
    "  --seed N   начальное число случайной последовательности (по умолчанию 1);\n"
    "             одинаковые параметры дают побайтно одинаковые файлы\n"
    "  --parts N  число номеров деталей (по умолчанию 2100, от 100 до 2000000);\n"
    "             от 20000 каталог строится для замеров: рисунки по 120 позиций,\n"
    "             общие для многих рисунков картинки\n";

bool number(const QString& text, qint64 lo, qint64 hi, qint64& value) {
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok && value >= lo && value <= hi;
}

} // namespace

int runCommandLine(const QStringList& args, QTextStream& out, QTextStream& err) {
    Options o;
    bool partsGiven = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        qint64 v = 0;
        if ((a == QLatin1String("--seed") || a == QLatin1String("--parts")) &&
            i + 1 < args.size()) {
            const bool seed = a == QLatin1String("--seed");
            if (!number(args[++i], seed ? 0 : 100, seed ? 0xffffffffLL : 2000000, v)) {
                err << "Недопустимое значение " << a << ": " << args[i] << "\n" << usage;
                return 2;
            }
            if (seed) {
                o.seed = std::uint32_t(v);
            } else {
                o.parts = int(v);
                partsGiven = true;
            }
        } else if (!a.startsWith(QLatin1String("--")) && o.outDir.isEmpty()) {
            o.outDir = a;
        } else {
            err << "Непонятный аргумент: " << a << "\n" << usage;
            return 2;
        }
    }
    if (o.outDir.isEmpty()) {
        err << usage;
        return 2;
    }
    if (partsGiven) o.layout = layoutFor(o.parts);
    try {
        QElapsedTimer timer;
        timer.start();
        const Summary s = generate(o);
        out << "Каталог записан в " << o.outDir << " за " << timer.elapsed() / 1000.0
            << " с: " << s.modifications << " модификации, " << s.drawings << " рисунков ("
            << s.pictures << " картинок), " << s.parts << " номеров деталей, " << s.details
            << " строк Detail, " << s.occurrences << " вхождений, " << s.places << " мест.\n";
        return 0;
    } catch (const Refused& e) {
        err << e.message() << "\n";
        return 2;
    } catch (const CatalogError& e) {
        err << "Ошибка: " << e.message() << "\n";
        return 1;
    }
}

} // namespace Gen
