#include "app/mainform.h"

#include "app/about.h"
#include "app/backup.h"
#include "app/dbgrid.h"
#include "app/icons.h"
#include "app/messbox.h"
#include "app/widgets.h"
#include "basket/Newgrid.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "data/textfmt.h"
#include "platform/desktop.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"

#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

TmainForm* mainForm = nullptr;

namespace {

QAction* makeAction(QObject* parent, const QString& name, const QString& text) {
    auto* a = new QAction(text, parent);
    a->setObjectName(name);
    return a;
}

// A menu item that shares its toolbar twin's picture.
QAction* twin(QMenu* menu, const QString& name, const QString& text, const QAction* of) {
    QAction* a = makeAction(menu, name, text);
    if (of) a->setIcon(of->icon());
    menu->addAction(a);
    return a;
}

} // namespace

int TmainForm::groupGap(int screenHeight) {
    return Fmt::nearestInt(screenHeight * 45.0 / 600.0);
}

int TmainForm::buttonStep(int screenHeight) {
    return Fmt::nearestInt(screenHeight * 32.0 / 600.0);
}

TmainForm::TmainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("mainForm"));
    setFont(windowFont());

    const QScreen* display = QApplication::primaryScreen();
    const QRect screen = display->geometry();
    // The window with its frame (title bar included) covers the screen's work area and cannot
    // be resized; it is shown maximised. The panels are laid out once for the client area, so
    // the frame is measured first: otherwise the status bar and the bottom rows of the panels
    // would lie below the screen's edge.
    const Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                  Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    const QRect work = display->availableGeometry();
    setFixedSize(work.size().shrunkBy(Desktop::windowFrame(flags)));
    move(work.topLeft());
    setWindowTitle(CatalogCaption);

    createToolBar();
    createMenus();
    createNavigationItems();
    StatusPanel = new QLabel(this);
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    statusBar()->addWidget(StatusPanel, 1);
    statusBar()->setSizeGripEnabled(false);

    createButtonColumn(screen.height());
    createPanels();

    sbChange->setEnabled(false);
    sbDel->setEnabled(false);
    sbPrint->setEnabled(false);
    sbNextItem->setEnabled(false);
    sbPredItem->setEnabled(false);
    sbEnabled();

    layoutPicPanel();
    layoutTablePanel();
    layoutTreePanel();
    layoutSTDPanel();
    layoutOrderPanel();
    layoutHistoryPanel();
    connectShell();
}

TmainForm::~TmainForm() = default;

void TmainForm::createToolBar() {
    ToolBar = addToolBar(QStringLiteral("ToolBar"));
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    auto item = [this](const QString& name, const QString& hint, ToolIcon icon) {
        QAction* a = makeAction(this, name, hint);
        a->setIcon(toolIcon(icon));
        a->setToolTip(hint);
        ToolBar->addAction(a);
        return a;
    };
    sbNew = item("sbNew", "Создать", ToolIcon::New);
    sbOpen = item("sbOpen", "Открыть", ToolIcon::Open);
    sbSave = item("sbSave", "Сохранить", ToolIcon::Save);
    ToolBar->addSeparator();
    sbExcel = item("sbExcel", "Вставить в Excel", ToolIcon::Spreadsheet);
    ToolBar->addSeparator();
    sbAdd = item("sbAdd", "Добавить новую деталь в корзину", ToolIcon::Add);
    sbChange = item("sbChange", "Изменить деталь в корзине", ToolIcon::Change);
    sbDel = item("sbDel", "Удалить деталь из корзины", ToolIcon::Delete);
    ToolBar->addSeparator();
    sbDelHistory = item("sbDelHistory", "Удалить запись", ToolIcon::DeleteRecord);
    sbDelAllHistory = item("sbDelAllHistory", "Очистить таблицу истории", ToolIcon::ClearHistory);
    ToolBar->addSeparator();
    sbPrint = item("sbPrint", "Печать рисунка", ToolIcon::Print);
    ToolBar->addSeparator();
    sbZoomNorm = item("sbZoomNorm", "Исходный размер", ToolIcon::ZoomNorm);
    sbZoomPlus = item("sbZoomPlus", "Увеличить", ToolIcon::ZoomPlus);
    sbZoomMinus = item("sbZoomMinus", "Уменьшить", ToolIcon::ZoomMinus);
    ToolBar->addSeparator();
    sbPred = item("sbPred", "Предыдущий рисунок", ToolIcon::Previous);
    sbNext = item("sbNext", "Следущий рисунок", ToolIcon::Next);
}

void TmainForm::createMenus() {
    menuFile = menuBar()->addMenu(QStringLiteral("&Файл"));
    New1 = twin(menuFile, "New1", "Созд&ать", sbNew);
    Open1 = twin(menuFile, "Open1", "&Открыть", sbOpen);
    Save1 = twin(menuFile, "Save1", "&Сохранить", sbSave);
    menuFile->addSeparator();
    Report1 = twin(menuFile, "Report1", "О&тчет", nullptr);
    Backup::addCommand(this, menuFile, nullptr);
    menuFile->addSeparator();
    Exit1 = twin(menuFile, "Exit1", "В&ыход", nullptr);

    menuService = menuBar()->addMenu(QStringLiteral("С&ервис"));
    N6 = twin(menuService, "N6", "&Поиск", nullptr);
    N4 = twin(menuService, "N4", "&Обновить цены...", nullptr);
    Change1 = twin(menuService, "Change1", "&Изменить/Добавить деталь...", nullptr);
    N15 = twin(menuService, "N15", "О&чистить таблицу цен", nullptr);
    menuService->addSeparator();
    N17 = twin(menuService, "N17", "&Настройка...", nullptr);

    menuWindow = menuBar()->addMenu(QStringLiteral("&Окно"));
    WinPic = twin(menuWindow, "WinPic", "&Рисунок", nullptr);
    WinTable = twin(menuWindow, "WinTable", "&Таблица", nullptr);
    WinSTD = twin(menuWindow, "WinSTD", "&Стандартизованные", nullptr);
    WinTree = twin(menuWindow, "WinTree", "&Дерево", nullptr);
    WinView = twin(menuWindow, "WinView", "&Корзина", nullptr);
    WinHistory = twin(menuWindow, "WinHistory", "&История", nullptr);

    menuHelp = menuBar()->addMenu(QStringLiteral("&Справка"));
    N10 = twin(menuHelp, "N10", "С&ервисно-сбытовые предприятия", nullptr);
    N12 = twin(menuHelp, "N12", "&Телефоны ЮЛЗ", nullptr);
    menuHelp->addSeparator();
    Contents1 = twin(menuHelp, "Contents1", "Вызов справки", nullptr);
    Contents1->setShortcut(QKeySequence(Qt::Key_F1));
    About1 = twin(menuHelp, "About1", "&О программе...", nullptr);

    pmImage = new QMenu(this);
    pmImage->setObjectName(QStringLiteral("pmImage"));
    miNorm = twin(pmImage, "miNorm", "Исходный размер", sbZoomNorm);
    miPlus = twin(pmImage, "miPlus", "Увеличить", sbZoomPlus);
    miMinus = twin(pmImage, "miMinus", "Уменьшить", sbZoomMinus);
    pmImage->addSeparator();
    miPred = twin(pmImage, "miPred", "Предыдущий", sbPred);
    miNext = twin(pmImage, "miNext", "Следущий", sbNext);
    pmImage->addSeparator();
    miOrder = twin(pmImage, "miOrder", "Добавить в корзину", nullptr);

    pmOrder = new QMenu(this);
    pmOrder->setObjectName(QStringLiteral("pmOrder"));
    tbiAdd = twin(pmOrder, "tbiAdd", "Добавить", sbAdd);
    tbiChange = twin(pmOrder, "tbiChange", "Изменить", sbChange);
    tbiDel = twin(pmOrder, "tbiDel", "Удалить", sbDel);
    tbiClear = twin(pmOrder, "tbiClear", "Очистить", nullptr);
}

void TmainForm::createButtonColumn(int screenHeight) {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client);
    const int clientWidth = width();
    const int clientHeight = height() - menuBar()->sizeHint().height() -
                             ToolBar->sizeHint().height() - statusBar()->sizeHint().height();
    client->resize(clientWidth, clientHeight);

    panelButton = new QWidget(client);
    panelButton->setObjectName(QStringLiteral("panelButton"));
    panelButton->setGeometry(clientWidth - 100, 0, 98, clientHeight);

    const int g1 = groupGap(screenHeight);
    const int g2 = buttonStep(screenHeight);
    const int w = panelButton->width() - 4;
    auto button = [&](QToolButton*& b, TShape*& s, const QString& name, const QString& caption,
                      const QString& hint, int top) {
        b = makeFlatButton(panelButton, name, caption, hint);
        s = new TShape(panelButton, QLatin1Char('s') + name.mid(2));
        placeOnShape(b, s, QRect(2, top, w, 25));
    };
    button(sbFind, sFind, "sbFind", "Поиск", "Поиск", 10);
    button(sbPic, sPic, "sbPic", "Рисунок", "Рисунок", sbFind->y() + g1);
    button(sbTable, sTable, "sbTable", "Таблица", "Таблица результата поиска", sbPic->y() + g2);
    button(sbSTD, sSTD, "sbSTD", "Станд.", "Cтандартизованные изделия", sbTable->y() + g2);
    button(sbTree, sTree, "sbTree", "Дерево", "Дерево рисунков", sbSTD->y() + g2);
    button(sbView, sView, "sbView", "Корзина", "Просмотр заказа", sbTree->y() + g2);
    button(sbHistory, sHistory, "sbHistory", "История", "Просмотр прошлых заказов",
           sbView->y() + g2);
    button(sbOrder, sOrder, "sbOrder", "Добавить", "Добавить в корзину", sbHistory->y() + g1);
    button(sbReport, sReport, "sbReport", "Отчет", "Просмотр отчета", sbOrder->y() + g2);
    button(sbNextItem, sNextItem, "sbNextItem", "След.", "Следущая деталь из найденных",
           sbReport->y() + g1);
    button(sbPredItem, sPredItem, "sbPredItem", "Пред.", "Предыдущая деталь из найденных",
           sbNextItem->y() + g2);
    button(sbExit, sExit, "sbExit", "Выход", "Выход из программы", sbPredItem->y() + g1);

    auto separator = [&](const QString& name, int top) {
        QFrame* f = makeBevel(panelButton, name);
        f->setGeometry(2, top, panelButton->width() - 4, 3);
        return f;
    };
    bSep1 = separator("bSep1", sbFind->y() + 36);
    bSep2 = separator("bSep2", sbHistory->y() + 36);
    bSep3 = separator("bSep3", sbReport->y() + 36);
    bSep4 = separator("bSep4", sbPredItem->y() + 36);

    // The six panel buttons: exactly one is down.
    PanelButtons = new QButtonGroup(this);
    PanelButtons->setExclusive(true);
    for (QToolButton* b : {sbPic, sbTable, sbSTD, sbTree, sbView, sbHistory}) {
        b->setCheckable(true);
        PanelButtons->addButton(b);
    }
}

void TmainForm::createPanels() {
    QWidget* client = centralWidget();
    auto panel = [&](const QString& name) {
        auto* p = new QWidget(client);
        p->setObjectName(name);
        p->setGeometry(0, panelButton->y(), client->width() - 100, panelButton->height());
        return p;
    };
    panelPic = panel("panelPic");
    panelTable = panel("panelTable");
    panelTree = panel("panelTree");
    panelSTD = panel("panelSTD");
    panelOrder = panel("panelOrder");
    panelHistory = panel("panelHistory");
    for (QWidget* p : {panelTable, panelTree, panelSTD, panelOrder, panelHistory})
        p->hide();
}

void TmainForm::connectShell() {
    using ErrorDisplay::connect;
    connect(sbPic, &QToolButton::clicked, this, [this] { sbPicClick(); });
    connect(sbTable, &QToolButton::clicked, this, [this] { sbTableClick(); });
    connect(sbSTD, &QToolButton::clicked, this, [this] { sbSTDClick(); });
    connect(sbTree, &QToolButton::clicked, this, [this] { sbTreeClick(); });
    connect(sbView, &QToolButton::clicked, this, [this] { sbViewClick(); });
    connect(sbHistory, &QToolButton::clicked, this, [this] { sbHistoryClick(); });
    connect(WinPic, &QAction::triggered, this, [this] { pressPanelButton(sbPic); });
    connect(WinTable, &QAction::triggered, this, [this] { pressPanelButton(sbTable); });
    connect(WinSTD, &QAction::triggered, this, [this] { pressPanelButton(sbSTD); });
    connect(WinTree, &QAction::triggered, this, [this] { pressPanelButton(sbTree); });
    connect(WinView, &QAction::triggered, this, [this] { pressPanelButton(sbView); });
    connect(WinHistory, &QAction::triggered, this, [this] { pressPanelButton(sbHistory); });

    connect(N15, &QAction::triggered, this, [this] { N15Click(); });
    connect(N17, &QAction::triggered, this, [this] { N17Click(); });
    connect(N4, &QAction::triggered, this, [this] { N4Click(); });
    connect(Contents1, &QAction::triggered, this, [this] { Contents1Click(); });
    connect(About1, &QAction::triggered, this, [this] { About1Click(); });
    connect(sbExit, &QToolButton::clicked, this, [this] { close(); });
    connect(Exit1, &QAction::triggered, this, [this] { close(); });
}

void TmainForm::DataModuleCreate(TDM& module) {
    dm = &module;
    sbPred->setEnabled(false);
    CurrentPic = 0;
    CurrentModif = Shared->firstVisibleModif();
    createMarkers();
    bindGrids();
    connectSearch();
    connectEditing();
    connectBasket();
    connectPlants();
    connectSTD();
    connectQuick();
    loadRecentDrawings();
}

void TmainForm::bindGrids() {
    dbgFind->bind(&dm->QFind);
    dbgSTD->bind(&dm->QSTD);
    dbgOrder->bind(&dm->QOrder);
    dbgItogo->bind(&dm->QItogo);
    dbgHistory->bind(&dm->QHistory);
    dbgHistoryItogo->bind(&dm->QHistoryItogo);
}

void TmainForm::Contents1Click() {
    if (!Desktop::openFile(dm->HelpFile))
        messForm->ShowBox(QStringLiteral("Не удалось открыть файл справки %1").arg(dm->HelpFile),
                          CatalogCaption, TmessForm::kindOk);
}

void TmainForm::About1Click() {
    Modal::exec(*AboutBox);
}

void TmainForm::setStatus(const QString& text, const QString& hint) {
    StatusPanel->setText(text);
    statusBar()->setToolTip(hint);
}

QString TmainForm::statusText() const {
    return StatusPanel->text();
}

QString TmainForm::statusHint() const {
    return statusBar()->toolTip();
}
