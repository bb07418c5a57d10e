#pragma once

#include "app/mainface.h"
#include "viewer/drawinghistory.h"

#include <QIcon>
#include <QMainWindow>
#include <QSet>
#include <QString>
#include <QVector>
#include <memory>

class QAction;
class QButtonGroup;
class QComboBox;
class QDateEdit;
class QFrame;
class QImage;
class QLabel;
class QLineEdit;
class QMenu;
class QModelIndex;
class QPainter;
class QPrinter;
class QProgressBar;
class QScrollArea;
class QScrollBar;
class QStyleOptionViewItem;
class QTableWidget;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TDBGrid;
class TDM;
class TImage;
class TMarker;
class TNoVertScrollDBGrid;
class TQuickSearch;
class TShape;
struct OrderInput;
namespace OrderSql {
struct HistoryFilter;
}
namespace Plants {
struct ListEdit;
}

// The main window: button column on the right, six content panels sharing the area on the
// left (only one visible), menus, toolbar and status bar. Its routines are spread over the
// folders of the subsystems they belong to (viewer/, search/, basket/ ...). Dialogs see it
// only through TMainFace.
class TmainForm : public QMainWindow, public TMainFace {
    Q_OBJECT
public:
    explicit TmainForm(QWidget* parent = nullptr);
    ~TmainForm() override;

    // Start-up, once the data module exists: markers, grid bindings, drawing state.
    void DataModuleCreate(TDM& dm);

    // ---- Application shell -------------------------------------------------------------
    QString SavedRemark;
    bool CanZoomNorm = false;
    bool CanZoomMinus = false;
    bool CanZoomPlus = false;
    bool CanPred = false;
    bool CanNext = true;

    void sbEnabled();

    // Panel switches (the six buttons of the column and the Window menu).
    void sbPicClick();
    void sbTableClick();
    void sbSTDClick();
    void sbTreeClick();
    void sbViewClick();
    void sbHistoryClick();
    // Runs a panel button's click handler and presses it down, as the Window menu does.
    void pressPanelButton(QToolButton* button);

    void Contents1Click();
    void About1Click();
    // "Настройка...": the settings dialog; a change of the visible modifications rebuilds the
    // tree and the search dialog's modification list.
    void N17Click();
    // "О&чистить таблицу цен" (settings/mainform_prices.cpp).
    void N15Click();

    // The status bar's remark line: its text and its hint.
    void setStatus(const QString& text, const QString& hint);
    QString statusText() const;
    QString statusHint() const;

    // Whether the drawing panel shows a part (its caption "Номер" is shown).
    bool partShown() const;
    // Whether the last catalogue search left rows in QFind.
    bool foundRows() const;

    // Menus and toolbar.
    QMenu* menuFile;
    QMenu* menuService;
    QMenu* menuWindow;
    QMenu* menuHelp;
    QAction* New1;
    QAction* Open1;
    QAction* Save1;
    QAction* Report1;
    QAction* Exit1;
    QAction* N6;
    QAction* N4;
    QAction* Change1;
    QAction* N15;
    QAction* N17;
    QAction* WinPic;
    QAction* WinTable;
    QAction* WinSTD;
    QAction* WinTree;
    QAction* WinView;
    QAction* WinHistory;
    QAction* N10;
    QAction* N12;
    QAction* Contents1;
    QAction* About1;

    QToolBar* ToolBar;
    QAction* sbNew;
    QAction* sbOpen;
    QAction* sbSave;
    QAction* sbExcel;
    QAction* sbAdd;
    QAction* sbChange;
    QAction* sbDel;
    QAction* sbDelHistory;
    QAction* sbDelAllHistory;
    QAction* sbPrint;
    QAction* sbZoomNorm;
    QAction* sbZoomPlus;
    QAction* sbZoomMinus;
    QAction* sbPred;
    QAction* sbNext;

    QMenu* pmImage;
    QAction* miNorm;
    QAction* miPlus;
    QAction* miMinus;
    QAction* miPred;
    QAction* miNext;
    QAction* miOrder;
    QMenu* pmOrder;
    QAction* tbiAdd;
    QAction* tbiChange;
    QAction* tbiDel;
    QAction* tbiClear;

    QLabel* StatusPanel;

    // Button column.
    QWidget* panelButton;
    QToolButton* sbFind;
    QToolButton* sbPic;
    QToolButton* sbTable;
    QToolButton* sbSTD;
    QToolButton* sbTree;
    QToolButton* sbView;
    QToolButton* sbHistory;
    QToolButton* sbOrder;
    QToolButton* sbReport;
    QToolButton* sbNextItem;
    QToolButton* sbPredItem;
    QToolButton* sbExit;
    TShape* sFind;
    TShape* sPic;
    TShape* sTable;
    TShape* sSTD;
    TShape* sTree;
    TShape* sView;
    TShape* sHistory;
    TShape* sOrder;
    TShape* sReport;
    TShape* sNextItem;
    TShape* sPredItem;
    TShape* sExit;
    QFrame* bSep1;
    QFrame* bSep2;
    QFrame* bSep3;
    QFrame* bSep4;
    QButtonGroup* PanelButtons;

    // The six content panels.
    QWidget* panelPic;
    QWidget* panelTable;
    QWidget* panelTree;
    QWidget* panelSTD;
    QWidget* panelOrder;
    QWidget* panelHistory;

    // Vertical steps of the button column for a screen height (groups, buttons).
    static int groupGap(int screenHeight);
    static int buttonStep(int screenHeight);

    // ---- Drawing viewer ----------------------------------------------------------------
    int CurrentPic = 0;
    int CurrentModif = 0;
    QString CurN;
    QString CurName;
    QString CurV;
    void setCurrentPart(const QString& n, const QString& name, const QString& v) override;

    int LastPic = 0;
    bool KeepInfo = false; // the next load leaves the part-information panel as it is
    bool SeekTarget = false;
    int TargetPos = 0;
    int TargetMarker = 0;
    int BaseWidth = 0;
    int BaseHeight = 0;
    int ZoomLevel = 1;
    int ScrollX = 0;
    int ScrollY = 0;

    TMarker* HoverLabel = nullptr;
    bool FromImage = false;
    TMarker* SelLabel = nullptr;
    int SelMarker = 0;
    QSet<int> SEPositions;
    int SEIndex = 0;
    bool RefillSE = true;
    bool Dragging = false;
    int DragX = 0;
    int DragY = 0;

    QLabel* LabelMOD;
    QLabel* lbMOD;
    QLabel* LabelG;
    QLabel* lbG;
    QLabel* LabelR;
    QLabel* lbPicName;
    QScrollArea* ScrollBox;
    QWidget* PicCanvas; // the scrolled area holding mainImage and the markers
    TImage* mainImage;
    QLabel* LabelN;
    QLabel* lbN;
    QLabel* LabelName;
    QLabel* lbName;
    QLabel* LabelSE;
    QComboBox* ComboBoxSE;
    QToolButton* sbSelSE;
    TShape* sSelSE;
    QLabel* LabelKol;
    QLabel* lbKol;
    QLabel* LabelOKP;
    QLabel* lbOKP;
    QLabel* LabelV;
    QLabel* lbV;
    QLabel* lbKg;
    QTableWidget* sgPrice;
    QToolButton* sbDop;
    TShape* sDop;

    QTreeWidget* Tree;
    // State pictures of the tree: 1 closed, 2 expanded, 3 drawing (0 is none).
    QList<QIcon> ImageListTree;
    // Item data of a tree node: its state picture, picture index and selected-picture index
    // (a drawing's number and modification; 0 for modification and group nodes), and for a
    // node not opened yet what its children are made from.
    enum TreeData { StateIndexRole = Qt::UserRole, ImageIndexRole, SelectedIndexRole, PlanRole };

    // Markers over the drawing's position numbers; the array only grows.
    QVector<TMarker*> Markers;
    int MarkerCount = 0;
    void NewPos();

    // Drawing CurrentPic of CurrentModif, fitted, with its markers. Throws FileError when the
    // bitmap cannot be read; the drawing shown before stays.
    void LoadNewImage();
    void LabelVisible(bool show) override;
    void SelAll(int index, bool normal);
    void sgPriceDrawCell(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index);

    void PosOnMouseMove(TMarker* marker);
    void PosOnClick(TMarker* marker) override;
    void PosOnContextPopup(TMarker* marker, const QPoint& globalPos);
    void mainImageMouseMove(int x, int y);
    void mainImageMouseDown(int x, int y);
    void mainImageMouseUp();
    void ComboBoxSEChange(int index);
    void sbSelSEClick();
    void allSE();
    void SelectSE(const QString& root);
    void UnselectSE();

    void sbZoomNormClick();
    void sbZoomPlusClick();
    void sbZoomMinusClick();
    void sbPredClick();
    void sbNextClick();

    // Back and forward through the drawings looked at, and the recent list in the menu
    // (viewer/mainform_navhistory.cpp). Every drawing shown is recorded by LoadNewImage.
    QAction* sbBack;
    QAction* sbForward;
    QMenu* menuRecent;
    DrawingHistory History;
    void sbBackClick();
    void sbForwardClick();
    // A drawing of the recent list; one whose modification is hidden now is left alone.
    void openRecent(const DrawingRef& ref);
    // Ctrl+wheel on the drawing: the scale changes by steps notches, finely between the
    // fitted size and level 4 (ZoomLevel is the step at or below it); the image point under at
    // (a point of the scroll box's viewport) stays under it (viewer/mainform_zoom.cpp).
    void wheelZoom(const QPoint& at, double steps);

    void NewTree() override;
    void TreeClick(QTreeWidgetItem* node);
    void TreeCollapsed(QTreeWidgetItem* node);
    void TreeExpanded(QTreeWidgetItem* node);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceMarkers();
    void recordShown();
    void fillRecentMenu();
    void loadRecentDrawings();
    // The back and forward items, the recent menu and the zoom keys (called once, after the
    // toolbar and the menus exist).
    void createNavigationItems();
    void updateHistoryItems();
    // One step back or forward on the trail, the drawing shown without being recorded anew.
    void revisit(bool backwards);
    // Brings the drawing panel to the front and loads the drawing.
    void showDrawing(const DrawingRef& ref);
    bool usableDrawing(const DrawingRef& ref) const;
    bool Revisiting = false;
    void RescaleMarkers();
    void connectViewer();
    void setupTree();
    // CanPred and CanNext for the drawing CurrentPic of CurrentModif.
    void computeNavigation();
    // The zoom and navigation flags as they belong to the drawing shown at ZoomLevel.
    void resetFlagsToShown();
    int lastPicOf(int modif) const;
    QString bitmapPath(const QString& size) const;
    void showScrollBars(bool shown);
    void coverImage();
    // Returns a marker to the normal look when it is neither selected nor in the assembly.
    void dimHover();
    int shownModif = 0; // modification of the drawing shown (LastPic is its number)

public:
    // ---- Search ------------------------------------------------------------------------
    // The key form of a part number (blanks, brackets, commas, dashes, points and every x
    // dropped, a Latin capital I read as 1), in which numbers are compared.
    static QString StrToFind(const QString& number);
    // "Поиск": the search dialog, modally.
    void sbFindClick();
    void showSearchResult(const FindSql::Statement& statement, bool standardized) override;

    // ---- Quick search and where used (search/mainform_quick.cpp) ----------------------
    TQuickSearch* quickSearch = nullptr;
    QAction* miQuick = nullptr; // "Быстрый поиск" (Ctrl+F) in the service menu
    QAction* miUsed = nullptr;  // "Где применяется" on the drawing and the part panel
    QAction* fiUsed = nullptr;  // the same on the result grid
    QAction* tbiUsed = nullptr; // the same on the basket grid
    void showPartOn(const QString& nf, int modif, int picture, int position) override;
    void orderPart(const QString& n, const QString& name, const QString& v) override;
    // "Быстрый поиск": the focus into the quick search box.
    void miQuickClick();
    // "Где применяется" of the part shown, of the current found row, of the basket line.
    void miUsedClick();
    void fiUsedClick();
    void tbiUsedClick();
    void connectQuick();

    // ---- Search results ----------------------------------------------------------------
    QScrollArea* sBoxFind;
    TDBGrid* dbgFind;
    QScrollBar* sbVerFind;
    QLabel* LabelNaid;
    QLabel* lbK;
    QToolButton* sbOrderAll;
    TShape* sOrderAll;
    QProgressBar* gProgress;

    // Shows the current row of QFind on its drawing: the part's occurrences under the last
    // search's conditions in ComboBoxSE, the first one on a drawing loaded with its marker
    // selected. A part on no drawing leaves the drawing panel as it is and says so.
    void FindNew() override;
    // "След." and "Пред.": the next or previous found part, round from the end to the start.
    void sbNextItemClick();
    void sbPredItemClick();
    // A double click, or Enter released, in the result grid opens the current part's drawing.
    void dbgFindDblClick();
    void dbgFindKeyUp();
    // The current part for the basket follows every move of QFind.
    void QFindAfterScroll();
    // The count of found rows in lbK; "…" follows it while the rest of a large result is read.
    void showFoundCount();

    // ---- Standardized items ------------------------------------------------------------
    TDBGrid* dbgSTD;
    QScrollArea* ScrollBoxSTD;
    QLabel* ImageSTD;
    QLabel* lbPodGr;
    QLabel* lbFullName;
    QLineEdit* ePodGr;
    QLineEdit* eFullName;
    QToolButton* sbPodGr;
    QToolButton* sbFullName;
    TShape* sPodGr;
    TShape* sFullName;
    QLabel* lbParam;
    QTableWidget* sgParam;

    // Redraws the detail side (parameters, subgroup, full name, illustration) and makes the
    // current row of QSTD the current part; with no rows it empties the detail side.
    void NewSTD() override;
    // Every move of QSTD onto a row (opening included) redraws the detail side.
    void QSTDAfterScroll();
    // "Дополнительно...": the standardized items of the part shown, on their panel.
    void sbDopClick();
    // The panel's searches by the start of the subgroup or of the full name, over every
    // modification.
    void sbPodGrClick();
    void sbFullNameClick();
    void sgParamDrawCell(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index);

    // "Печать рисунка": after one question, the drawing or the standardized item's sheet
    // (whichever panel is in front) on the default printer or into a PDF file.
    void sbPrintClick();
    // The enlarged bitmap of the drawing shown with the numbers of its visible markers written
    // on it and the opaque ones framed. Throws FileError when the bitmap cannot be read.
    QImage drawingToPrint();
    // Where printed pages go: the default printer (toPdf false; without one, a PDF file if the
    // user agrees) or a PDF file the user chooses. Null when nothing is to be printed.
    std::unique_ptr<QPrinter> printerFor(bool toPdf, const QString& suggested);

    // ---- Basket and history ------------------------------------------------------------
    QLabel* LabelOrSupplier;
    QComboBox* cbOrSupplier;
    QToolButton* fbSupplierInfo;
    TShape* sSupplierInfo;
    QLabel* LabelOrBuyer;
    QComboBox* cbOrBuyer;
    QToolButton* fbBuyerInfo;
    TShape* sBuyerInfo;
    QLabel* LabelDate;
    QDateEdit* meDate;
    QScrollArea* sBoxOrder;
    TNoVertScrollDBGrid* dbgOrder;
    TNoVertScrollDBGrid* dbgItogo;
    QLabel* lbItogo;
    QScrollBar* sbVert;
    QToolButton* sbPutToHistory;
    TShape* sPutToHistory;
    QLabel* LabelNaidOrder;
    QLabel* lbKOrder;
    QProgressBar* gProgress2;

    QLabel* LabelSupplier;
    QComboBox* cbSupplier;
    QLabel* LabelBuyer;
    QComboBox* cbBuyer;
    QLabel* LabelDate1;
    QDateEdit* meDate1;
    QLabel* LabelDate2;
    QDateEdit* meDate2;
    QScrollArea* sBoxHistory;
    TNoVertScrollDBGrid* dbgHistory;
    TNoVertScrollDBGrid* dbgHistoryItogo;
    QLabel* lbHistoryItogo;
    QScrollBar* sbVertHistory;

    // Rebuilds every grid column that depends on the price columns (visible ones only).
    void NewDBGrid() override;
    // Places the grids, totals rows and scroll bars inside the basket and history scroll
    // boxes; once, after the first NewDBGrid.
    void layoutOrderBoxes();
    // Reopens the basket with a with-VAT column per price column; count and commands follow.
    void NewOrder() override;
    // Hooks of the basket query: scroll bar range and totals; scroll bar position.
    void QOrderAfterOpen();
    void QOrderAfterScroll();
    // The user moved the basket's scroll bar.
    void sbVertScroll();
    void dbgOrderEnter();
    void dbgOrderCellClick();

    // ---- Basket lines and order history (basket/mainform_lines.cpp, mainform_history.cpp)
    // One more price input row in the dialogs that have them (PriceRowsMade counts them).
    void AddPrice();
    int PriceRowsMade = 0;
    // "Добавить" (the current part), "Добавить в корзину", the toolbar's add, change, delete.
    void sbOrderClick();
    void miOrderClick();
    void sbAddClick();
    void sbChangeClick();
    void sbDelClick();
    // Acts on the add-to-basket dialog's input; false keeps the dialog open (zero quantity).
    bool orderConfirm(const OrderInput& input);
    // Deletes line or record n of Order_ or History and closes up the numbers behind it.
    void deleteNumbered(const QString& table, int n);
    // "Добавить заказ в историю": the whole basket into History, then the offer to empty it.
    void sbPutToHistoryClick();
    // Reopens the history under the filter of the history panel.
    void NewHistory() override;
    OrderSql::HistoryFilter historyFilter() const;
    void QHistoryAfterOpen();
    void QHistoryAfterScroll();
    void sbVertHistoryScroll();
    void sbDelHistoryClick();
    void sbDelAllHistoryClick();
    void connectLines();
    void connectHistory();
    // ---- Enterprises and the report data (reports/mainform_plants.cpp) -------------------
    void enterprisesChanged(const QStringList& names, const Plants::ListEdit& edit) override;
    // Start-up: the enterprise lists from the register, the history filters on "Любой", the
    // basket's supplier and buyer as remembered.
    void loadEnterpriseBoxes();
    // The user changed the basket's buyer or supplier: remembered; "Новое предприятие" opens
    // the register.
    void cbOrBuyerChange();
    void cbOrSupplierChange();
    // The register on the basket's buyer or supplier.
    void fbBuyerInfoClick();
    void fbSupplierInfoClick();
    // "Отчет": the report data dialog, then the report viewer on the chosen document.
    void sbReportClick();
    // "О&тчет" of the menu: the viewer on the report data dialog's last document and data.
    void Report1Click();
    // The reference lists of the menu "Справка".
    void N10Click();
    void N12Click();

    // ---- Basket files (basket/mainform_files.cpp)
    // "Создать", "Открыть", "Сохранить" (New1, Open1, Save1 run them too).
    void sbNewClick();
    void sbOpenClick();
    void sbSaveClick();
    bool basketEmpty();
    // The save dialog and the file; false when the dialog was cancelled.
    bool saveBasketFile();
    bool offerToSaveBasket();
    void connectFiles();
    // The last names chosen in the open (odMain) and save (sdMain) dialogs, offered again.
    QString odMainFileName;
    QString sdMainFileName;

    // ---- Export (export/mainform_excel.cpp)
    // "Вставить в Excel": the basket into a new workbook file (.xlsx, or CSV when the file
    // chosen ends in .csv) opened in the desktop's spreadsheet program.
    void sbExcelClick();
    // "Обновить цены...": the price update wizard, then the information panel re-read.
    void N4Click();

    // ---- Pick sheet (basket/mainform_picksheet.cpp)
    // "Лист подбора...": each drawing showing basket parts, those positions circled, with the
    // basket lines on it, printed or saved as PDF after the print question.
    QAction* sbPickSheet = nullptr;
    void connectPickSheet();
    void sbPickSheetClick();

    // ---- Adding all found parts (basket/mainform_orderall.cpp)
    // "Добавить найденные детали в корзину...": the search result staged, then the dialog;
    // its "OK" merges the ticked rows into the basket.
    void sbOrderAllClick();
    void orderAllConfirm(QProgressBar* gauge);

    // ---- Catalogue editing (editing/mainform_det.cpp)
    void Change1Click();
    void connectEditing();

private:
    enum class Panel { Pic, Table, STD, Tree, Basket, History };

    void createMenus();
    void createToolBar();
    void createButtonColumn(int screenHeight);
    void createPanels();
    void layoutPicPanel();
    void createMarkers();
    void layoutTablePanel();
    void layoutTreePanel();
    void layoutSTDPanel();
    void layoutOrderPanel();
    void layoutHistoryPanel();
    // The handlers of each subsystem's controls, connected once the data module exists.
    void connectShell();
    void connectSearch();
    void connectFound();
    void connectBasket();
    void connectPlants();
    void connectSTD();
    void bindGrids();
    bool stdRows() const;
    // The panel's illustration: the file of the row, else the fallback, fitted when asked.
    void showSTDPicture(const QString& name, bool fit);

    QWidget* panelOf(Panel p) const;
    QAction* windowItemOf(Panel p) const;
    // The common part of every switch; false when the panel is already in front.
    bool switchTo(Panel target);
    void applyItemStates(Panel target);

    TDM* dm = nullptr;
};

extern TmainForm* mainForm;
