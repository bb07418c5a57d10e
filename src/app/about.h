#pragma once

#include <QDialog>

// "О программе": the program's name and version on a white bevelled panel.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
};

extern TAboutBox* AboutBox;
