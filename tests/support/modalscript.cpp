#include "support/modalscript.h"

#include "app/messbox.h"
#include "platform/modal.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLabel>

ModalScript::ModalScript() {
    Modal::setResponder([this](QDialog& d) {
        captions << d.windowTitle();
        // Start-up asks through a message box of its own before the program's one exists.
        auto* box = qobject_cast<TmessForm*>(&d);
        if (box) messages << box->lbMess->text();
        if (actions.empty()) {
            unexpected << d.windowTitle() + QStringLiteral(": ") +
                              (box ? box->lbMess->text() : QString());
            return;
        }
        auto action = std::move(actions.front());
        actions.pop_front();
        action(d);
    });
    Modal::setFileResponder([this](const QString& caption) {
        captions << caption;
        if (files.empty()) {
            unexpected << caption;
            return QString();
        }
        QString f = files.front();
        files.pop_front();
        return f;
    });
}

ModalScript::~ModalScript() {
    Modal::setResponder(nullptr);
    Modal::setFileResponder(nullptr);
}

void ModalScript::then(std::function<void(QDialog&)> action) {
    actions.push_back(std::move(action));
}

void ModalScript::press(const QString& buttonName) {
    then([buttonName](QDialog& d) {
        auto* b = d.findChild<QAbstractButton*>(buttonName);
        if (b) b->click();
    });
}

void ModalScript::close() {
    then([](QDialog& d) { d.close(); });
}

void ModalScript::file(const QString& path) {
    files.push_back(path);
}
