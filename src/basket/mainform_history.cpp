// The order history: filing the basket, the filtered history with its totals and scroll bar,
// deleting records, and the enterprise lists of the basket and history panels.
#include "app/mainform.h"
#include "data/connection.h"
#include "data/shared.h"

#include "app/dbgrid.h"
#include "app/messbox.h"
#include "basket/Newgrid.h"
#include "basket/ordersql.h"
#include "data/datamod.h"
#include "data/textfmt.h"
#include "platform/errordisplay.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>
#include <functional>

namespace {

QStringList fieldsOf(const std::vector<TDM::PriceColumn>& columns) {
    QStringList out;
    for (const TDM::PriceColumn& p : columns)
        out << p.field;
    return out;
}

// A filter control of the history: Enter released refreshes the history; the text it had when
// it took the focus is remembered, and leaving it with another text refreshes too. Focus that
// goes to its own drop-down list or to another window is no leaving.
class FilterWatcher : public QObject {
public:
    FilterWatcher(QWidget* control, std::function<QString()> text, std::function<void()> refresh)
        : QObject(control), text(std::move(text)), refresh(std::move(refresh)) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyRelease: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) ErrorDisplay::guard(refresh);
            break;
        }
        case QEvent::FocusIn:
            if (counts(event)) remembered = text();
            break;
        case QEvent::FocusOut:
            if (counts(event) && text() != remembered) ErrorDisplay::guard(refresh);
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static bool counts(QEvent* event) {
        const Qt::FocusReason r = static_cast<QFocusEvent*>(event)->reason();
        return r != Qt::PopupFocusReason && r != Qt::ActiveWindowFocusReason;
    }

    std::function<QString()> text;
    std::function<void()> refresh;
    QString remembered;
};

// Hides the filing gauge however the filing ends.
struct GaugeShown {
    QProgressBar* gauge;
    ~GaugeShown() { gauge->hide(); }
};

} // namespace

OrderSql::HistoryFilter TmainForm::historyFilter() const {
    return {cbSupplier->currentText(), cbBuyer->currentText(), Fmt::dateToStr(meDate1->date()),
            Fmt::dateToStr(meDate2->date())};
}

void TmainForm::NewHistory() {
    TQuery& q = dm->QHistory;
    q.close();
    q.setText(OrderSql::historySelect(fieldsOf(dm->priceColumns()), Shared->ndsPercent(),
                                      historyFilter()));
    q.open();
    const bool records = !q.isEmpty() && !panelHistory->isHidden();
    sbDelHistory->setEnabled(records);
    sbDelAllHistory->setEnabled(records);
}

void TmainForm::QHistoryAfterOpen() {
    TQuery& q = dm->QHistory;
    const int rows = dbgHistory->height() / TDBGrid::RowHeight;
    {
        const QSignalBlocker quiet(sbVertHistory);
        if (q.recordCount() > rows - 1) {
            sbVertHistory->setRange(1, q.recordCount());
            sbVertHistory->show();
        } else {
            sbVertHistory->hide();
        }
    }
    // The totals are those of the records shown.
    TQuery& t = dm->QHistoryItogo;
    t.close();
    t.setText(OrderSql::historyTotals(fieldsOf(dm->priceColumns()), Shared->ndsPercent(),
                                      historyFilter()));
    t.open();
}

void TmainForm::QHistoryAfterScroll() {
    TQuery& q = dm->QHistory;
    if (q.isEmpty()) return;
    // A filter may hide records, so the bar counts the records shown, not their numbers.
    const QSignalBlocker quiet(sbVertHistory);
    sbVertHistory->setValue(q.recNo());
}

void TmainForm::sbVertHistoryScroll() {
    TQuery& q = dm->QHistory;
    if (q.isEmpty()) return;
    q.moveTo(sbVertHistory->value() - 1);
}

void TmainForm::sbDelHistoryClick() {
    if (!dm->QHistory.active() || dm->QHistory.isEmpty()) return;
    messForm->ShowBox(QStringLiteral("Удалить запись?"), CatalogCaption, TmessForm::kindYesNo);
    if (messForm->Answer != TmessForm::mrYes) return;
    deleteNumbered(QStringLiteral("History"), dm->QHistory.asInteger(QStringLiteral("N")));
    NewHistory();
}

void TmainForm::sbDelAllHistoryClick() {
    messForm->ShowBox(QStringLiteral("Очистить таблицу истории?"), CatalogCaption,
                      TmessForm::kindYesNo);
    if (messForm->Answer != TmessForm::mrYes) return;
    TQuery& q = dm->QHistory2;
    q.setText({QStringLiteral("delete from History")});
    q.execSQL();
    NewHistory();
}

void TmainForm::sbPutToHistoryClick() {
    TQuery& lines = dm->QOrder2;
    lines.setText({QStringLiteral("select * from Order_"), QStringLiteral("order by N")});
    lines.open();
    gProgress2->setRange(0, lines.recordCount());
    gProgress2->setValue(0);
    gProgress2->show();
    {
        const GaugeShown shown{gProgress2};
        TQuery& q = dm->QHistory2;
        q.setText(OrderSql::lastRecord());
        q.open();
        int n = q.asInteger(QStringLiteral("N")) + 1;
        const auto columns = dm->priceColumns();
        const QString supplier = cbOrSupplier->currentText();
        const QString buyer = cbOrBuyer->currentText();
        const QString date = Fmt::dateToStr(meDate->date());
        // The gauge moves in hundredths: painting it for every line would cost more than
        // the inserts.
        const int stride = std::max(1, lines.recordCount() / 100);
        // All lines or none: the basket is offered for emptying only once the history holds it.
        Transaction t(*dm->Database);
        for (int done = 1; !lines.eof(); lines.next(), ++done) {
            std::vector<OrderSql::Price> prices;
            for (const TDM::PriceColumn& p : columns)
                prices.push_back({p.field, p.name, lines.asString(p.field)});
            q.setText(OrderSql::historyRecord(
                n++, supplier, buyer, date, lines.asString(QStringLiteral("ID")),
                lines.asString(QStringLiteral("Name")), lines.asString(QStringLiteral("K")),
                lines.asString(QStringLiteral("V")), prices));
            q.execSQL();
            if (done % stride == 0 || done == lines.recordCount()) gProgress2->setValue(done);
        }
        t.commit();
    }
    lines.close();
    messForm->ShowBox(QStringLiteral("Очистить таблицу заказа?"), CatalogCaption,
                      TmessForm::kindYesNo);
    if (messForm->Answer != TmessForm::mrYes) return;
    TQuery& q = dm->QOrder2;
    q.setText({QStringLiteral("delete from Order_")});
    q.execSQL();
    NewOrder();
}

void TmainForm::connectHistory() {
    connectLines();
    connectFiles();
    QObject::connect(&dm->QHistory, &TQuery::afterOpen, this, [this] { QHistoryAfterOpen(); });
    QObject::connect(&dm->QHistory, &TQuery::afterScroll, this, [this] { QHistoryAfterScroll(); });
    QObject::connect(&dm->QHistory, &TQuery::afterClose, &dm->QHistoryItogo, &TQuery::close);
    ErrorDisplay::connect(sbVertHistory, &QScrollBar::valueChanged, this,
                          [this] { sbVertHistoryScroll(); });
    ErrorDisplay::connect(sbPutToHistory, &QToolButton::clicked, this,
                          [this] { sbPutToHistoryClick(); });
    ErrorDisplay::connect(sbDelHistory, &QAction::triggered, this, [this] { sbDelHistoryClick(); });
    ErrorDisplay::connect(sbDelAllHistory, &QAction::triggered, this,
                          [this] { sbDelAllHistoryClick(); });

    // The filter boxes take typed text; what is typed is a pattern, never a new list entry.
    for (QComboBox* box : {cbSupplier, cbBuyer}) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        // No completion: a pattern or a name in another letter case stays as typed.
        box->setCompleter(nullptr);
        ErrorDisplay::connect(box, &QComboBox::activated, this, [this] { NewHistory(); });
        new FilterWatcher(
            box, [box] { return box->currentText(); }, [this] { NewHistory(); });
    }
    for (QDateEdit* picker : {meDate1, meDate2})
        new FilterWatcher(
            picker, [picker] { return Fmt::dateToStr(picker->date()); }, [this] { NewHistory(); });
}
