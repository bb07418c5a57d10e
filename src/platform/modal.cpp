#include "platform/modal.h"

#include <QDialog>
#include <QFileDialog>

namespace Modal {

namespace {
Responder& responder() {
    static Responder r;
    return r;
}
FileResponder& fileResponder() {
    static FileResponder r;
    return r;
}
} // namespace

void setResponder(Responder r) {
    responder() = std::move(r);
}

void setFileResponder(FileResponder r) {
    fileResponder() = std::move(r);
}

int exec(QDialog& dialog) {
    if (!responder()) return dialog.exec();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    responder()(dialog);
    // A responder that leaves the dialog open closes it as the title bar's close box would.
    if (dialog.isVisible()) dialog.reject();
    return dialog.result();
}

QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                     const QString& filter) {
    if (fileResponder()) return fileResponder()(caption);
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                     const QString& filter) {
    if (fileResponder()) return fileResponder()(caption);
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

} // namespace Modal
