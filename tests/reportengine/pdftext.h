#pragma once

#include <QString>

// The text of a PDF file as poppler's pdftotext reads it (pages separated by form feeds), or a
// null string when pdftotext is not installed.
QString pdfText(const QString& path);
