#pragma once

#include <QString>
#include <functional>

class QDialog;
class QWidget;

// The one place through which every modal dialog, file dialog and the message box is shown.
// The program shows them for real; a test installs a responder that acts on the dialog (fills
// it in, presses a button) instead, so no test ever waits for a window.
namespace Modal {

// Acts on a dialog that is being shown; it closes it with a button or done()/reject().
using Responder = std::function<void(QDialog& dialog)>;
// Answers a file dialog with a path, or an empty text for "Cancel".
using FileResponder = std::function<QString(const QString& caption)>;

void setResponder(Responder responder);
void setFileResponder(FileResponder responder);

// Shows the dialog modally and returns its result code (QDialog::result()).
int exec(QDialog& dialog);

QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                     const QString& filter);
QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                     const QString& filter);

} // namespace Modal
