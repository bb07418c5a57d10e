#pragma once

#include "data/shared.h"

#include <QString>
#include <QStringList>

class TQuery;

// The settings' statements over the table of modifications, and the one routine that writes
// the modification state everyone reads (SharedState).
namespace Modifs {

// Every modification but 0, in order.
QStringList list();
// Shows or hides the modification of that name.
QStringList setVisible(const QString& name, bool visible);

// Reads the modifications with q and hands them to the shared state.
void reload(TQuery& q, SharedState& state);
// Writes a modification's visibility and reloads the shared state.
void store(TQuery& q, SharedState& state, const QString& name, bool visible);

} // namespace Modifs
