#pragma once

#include <QString>

namespace Gen {

// The program's short help page, catalog.html (UTF-8).
QString helpPage();

} // namespace Gen
