#include "app/backup.h"

#include "app/messbox.h"
#include "data/catalogfile.h"
#include "data/datamod.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"

#include <QAction>
#include <QDate>
#include <QMenu>
#include <QWidget>

namespace Backup {

QAction* addCommand(QWidget* window, QMenu* menuFile, QAction* before) {
    auto* a = new QAction(QStringLiteral("&Резервная копия..."), window);
    a->setObjectName(QStringLiteral("Backup1"));
    menuFile->insertAction(before, a);
    ErrorDisplay::connect(a, &QAction::triggered, window, [window] { run(window); });
    return a;
}

void run(QWidget* parent) {
    const QString suggested =
        DM->AppDir + QStringLiteral("base-%1.mdb")
                         .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    const QString target =
        Modal::saveFileName(parent, QStringLiteral("Резервная копия каталога"), suggested,
                            QStringLiteral("Каталог (*.mdb);;Все файлы (*)"));
    if (target.isEmpty()) return;
    CatalogFile::backup(*DM->Database, target);
    messForm->ShowBox(QStringLiteral("Резервная копия каталога записана в файл %1.\n\nЧтобы "
                                     "восстановить каталог, закройте программу и скопируйте "
                                     "этот файл на место %2.")
                          .arg(target, DM->Database->path()),
                      CatalogCaption, TmessForm::kindOk);
}

} // namespace Backup
