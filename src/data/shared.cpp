#include "data/shared.h"

SharedState* Shared = nullptr;

void SharedState::setModifications(const QVector<ModifRow>& rows) {
    modifs = rows;
    pictures.clear();
    filter = QStringLiteral("((modif=0)");
    for (const ModifRow& r : rows) {
        pictures.push_back(r.pictures);
        if (r.visible) filter += QStringLiteral(" OR (modif=%1)").arg(r.modif);
    }
    filter += QLatin1Char(')');
}

bool SharedState::modificationVisible(int position) const {
    return position >= 0 && position < modifs.size() && modifs[position].visible;
}

QStringList SharedState::visibleModifications() const {
    QStringList names;
    for (const ModifRow& r : modifs)
        if (r.visible) names << r.name;
    return names;
}

int SharedState::firstVisibleModif() const {
    for (const ModifRow& r : modifs)
        if (r.visible) return r.modif;
    return 0;
}

bool SharedState::modifVisible(int modif) const {
    for (const ModifRow& r : modifs)
        if (r.modif == modif) return r.visible;
    return false;
}

int SharedState::picturesOf(int modif) const {
    for (const ModifRow& r : modifs)
        if (r.modif == modif) return r.pictures;
    return 0;
}

int SharedState::nextVisibleModif(int modif) const {
    int next = 0;
    for (const ModifRow& r : modifs)
        if (r.visible && r.modif > modif && (next == 0 || r.modif < next)) next = r.modif;
    return next;
}

int SharedState::previousVisibleModif(int modif) const {
    int previous = 0;
    for (const ModifRow& r : modifs)
        if (r.visible && r.modif > 0 && r.modif < modif && r.modif > previous) previous = r.modif;
    return previous;
}
