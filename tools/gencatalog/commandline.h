#pragma once

#include <QStringList>
#include <QTextStream>

namespace Gen {

// gencatalog <outdir> [--seed N] [--parts N]. Returns the exit code: 0 done, 2 refused (wrong
// arguments or a catalogue already in outdir), 1 failed.
int runCommandLine(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace Gen
