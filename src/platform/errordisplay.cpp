#include "platform/errordisplay.h"

#include "data/dberror.h"

#include <exception>

namespace ErrorDisplay {

namespace {
Shower& shower() {
    static Shower s;
    return s;
}
} // namespace

void setShower(Shower s) {
    shower() = std::move(s);
}

void show(const QString& message) {
    if (shower()) shower()(message);
}

void showCaught() {
    try {
        throw;
    } catch (const CatalogError& e) {
        show(e.message());
    } catch (const std::exception& e) {
        show(QString::fromUtf8(e.what()));
    }
}

void guard(const std::function<void()>& f) {
    try {
        f();
    } catch (...) {
        showCaught();
    }
}

} // namespace ErrorDisplay
