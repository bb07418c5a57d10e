#pragma once

#include <QString>
#include <functional>
#include <memory>

class QPainter;
class QPrinter;

// The one place the printing code gets its printer from. The program prints on the system's
// default printer; a test installs a source that gives a PDF printer (or none, as on a machine
// without printers) and reads the file back.
namespace Printer {

using Source = std::function<std::unique_ptr<QPrinter>()>;

// The default printer; null when no printer is installed.
std::unique_ptr<QPrinter> defaultPrinter();

// A printer that writes its pages into a PDF file: A4, the whole sheet is the page.
std::unique_ptr<QPrinter> pdfPrinter(const QString& path);

// Replaces the system's printers (an empty source gives them back).
void setSource(Source source);

// Starts the document on the printer. Throws CatalogError naming the printer or the file
// when it cannot be started, so that nothing is taken for printed.
void begin(QPainter& painter, QPrinter& printer);
// Ends the document; throws CatalogError when the pages could not be written.
void end(QPainter& painter, QPrinter& printer);

} // namespace Printer
