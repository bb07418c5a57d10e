// Loading a drawing, placing its markers and the part-information panel below it.
#include "app/mainform.h"

#include "app/widgets.h"
#include "data/datamod.h"
#include "data/dberror.h"
#include "data/shared.h"
#include "data/textfmt.h"
#include "viewer/fit.h"
#include "viewer/image.h"
#include "viewer/marker.h"
#include "viewer/viewersql.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>

namespace {

// A caption that no part's "number name" can be: the first row always starts a ring.
const QString NoHint = QStringLiteral("First record");

void setCell(QTableWidget* grid, int row, int column, const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    grid->setItem(row, column, item);
}

} // namespace

int TmainForm::lastPicOf(int modif) const {
    return Shared->picturesOf(modif);
}

QString TmainForm::bitmapPath(const QString& size) const {
    return dm->PicDir + size + QStringLiteral("/%1_%2.bmp").arg(CurrentModif).arg(CurrentPic);
}

void TmainForm::computeNavigation() {
    // Modification numbers may have gaps: the neighbours are looked up by number.
    if (CurrentPic == 1)
        CanPred = Shared->previousVisibleModif(CurrentModif) > 0;
    else
        CanPred = CurrentPic > 1;
    if (CurrentPic < lastPicOf(CurrentModif))
        CanNext = true;
    else
        CanNext = Shared->nextVisibleModif(CurrentModif) > 0;
}

void TmainForm::resetFlagsToShown() {
    if (CurrentPic <= 0) {
        CanZoomNorm = CanZoomMinus = CanZoomPlus = CanPred = false;
        CanNext = true;
    } else {
        computeNavigation();
        CanZoomNorm = true;
        CanZoomMinus = ZoomLevel > 1;
        CanZoomPlus = ZoomLevel < 4;
    }
    if (!panelPic->isHidden()) sbEnabled();
}

void TmainForm::showScrollBars(bool shown) {
    const Qt::ScrollBarPolicy policy = shown ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    ScrollBox->setHorizontalScrollBarPolicy(policy);
    ScrollBox->setVerticalScrollBarPolicy(policy);
}

void TmainForm::coverImage() {
    // The canvas is the scroll range: the box itself at the fitted size, else the image.
    const QRect img = mainImage->geometry();
    if (ScrollBox->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff)
        PicCanvas->resize(ScrollBox->size());
    else
        PicCanvas->resize(img.x() + img.width(), img.y() + img.height());
}

void TmainForm::LoadNewImage() {
    // The bitmap is read first: when it cannot be, the drawing shown stays with its markers,
    // its selection and the flags that belong to it.
    QImage small;
    try {
        small = readBitmap(bitmapPath(QStringLiteral("small")));
    } catch (const FileError&) {
        if (LastPic > 0) CurrentModif = shownModif;
        CurrentPic = LastPic;
        KeepInfo = false;
        SeekTarget = false;
        resetFlagsToShown();
        throw;
    }

    // Another drawing (by number or by modification) drops the selection and the assembly
    // highlight of the one shown: the markers are reused for the new positions.
    if (LastPic > 0 && (CurrentPic != LastPic || CurrentModif != shownModif)) {
        SelAll(SelMarker, true);
        UnselectSE();
    }
    LastPic = CurrentPic;
    shownModif = CurrentModif;
    computeNavigation();
    if (CurrentPic > 0) sbPrint->setEnabled(true);
    CanZoomPlus = true;
    CanZoomMinus = false;
    CanZoomNorm = true;
    sbEnabled();

    ScrollBox->horizontalScrollBar()->setValue(0);
    ScrollBox->verticalScrollBar()->setValue(0);
    mainImage->move(0, 0);
    showScrollBars(false);
    mainImage->setPicture(small);
    mainImage->setGeometry(Fit::atLoad(ScrollBox->size(), small.size()));
    coverImage();
    PlaceMarkers();
    if (!KeepInfo) LabelVisible(false);
    BaseWidth = mainImage->width();
    BaseHeight = mainImage->height();
    ZoomLevel = 1;
    KeepInfo = false;
    recordShown();
}

void TmainForm::PlaceMarkers() {
    TQuery& q = dm->QPic;
    q.setText(ViewerSql::markers(CurrentPic, CurrentModif));
    q.open();
    int count = 0;
    if (CurrentPic > 0) {
        const QRect img = mainImage->geometry();
        QString previous = NoHint;
        int runStart = 0;
        for (; !q.eof(); q.next(), ++count) {
            if (count == Markers.size()) NewPos();
            TMarker* m = Markers[count];
            const QString caption = q.asString(QStringLiteral("Position"));
            m->setCaption(caption);
            if (SeekTarget && caption.toInt() == TargetPos) {
                TargetMarker = count;
                SeekTarget = false;
            }
            m->move(Fmt::nearestInt(img.width() * q.asFloat(QStringLiteral("Hor")) / 100) +
                        img.x() - 8 - m->overhang(),
                    Fmt::nearestInt(img.height() * q.asFloat(QStringLiteral("Ver")) / 100) +
                        img.y() - 8);
            const QString hint = q.asString(QStringLiteral("N")) + QLatin1Char(' ') +
                                 q.asString(QStringLiteral("Name"));
            m->setToolTip(hint);
            m->setVisible(caption != QLatin1String("0"));
            SelLabel = nullptr;
            // Rings: consecutive rows of one part point round to each other.
            if (hint != previous) {
                if (count > 0) Markers[count - 1]->Tag = runStart;
                m->Tag = count;
                runStart = count;
            } else {
                Markers[count - 1]->Tag = count;
                m->Tag = count + 1;
            }
            previous = hint;
        }
        if (count > 0) Markers[count - 1]->Tag = runStart;
    }
    MarkerCount = count;
    // Markers out of use point to themselves, so a ring walk from a stale index ends.
    for (int i = count; i < Markers.size(); ++i) {
        Markers[i]->hide();
        Markers[i]->Tag = i;
    }
    FromImage = false;

    // The title comes from the last position read; a drawing without positions names itself.
    TQuery& drawing = dm->QPicGr;
    if (q.isEmpty()) {
        drawing.setText(ViewerSql::drawing(CurrentPic, CurrentModif));
        drawing.open();
    } else {
        q.last();
    }
    const TQuery& title = q.isEmpty() ? drawing : q;
    const QString groupN = title.asString(QStringLiteral("GroupN"));
    lbG->setText(groupN == QLatin1String("00")
                     ? QString()
                     : groupN + QStringLiteral(": ") + title.asString(QStringLiteral("GroupName")));
    lbPicName->setText(title.asString(QStringLiteral("PicName")));
    lbMOD->setText(title.asString(QStringLiteral("MODName")));
    drawing.close();
    for (QLabel* l : {lbG, lbPicName, lbMOD})
        l->adjustSize();
    for (QLabel* l : {LabelMOD, lbMOD, LabelG, lbG, LabelR, lbPicName})
        l->show();
}

void TmainForm::SelAll(int index, bool normal) {
    const int start = Markers[index]->Tag;
    int i = start;
    do {
        TMarker* m = Markers[i];
        if (normal)
            m->setLook(true, TMarker::Green, TMarker::Blue);
        else
            m->setLook(false, TMarker::Red, TMarker::White);
        i = m->Tag;
    } while (i != start);
}

void TmainForm::LabelVisible(bool show) {
    sbOrder->setEnabled(show);
    miOrder->setEnabled(show);
    for (QWidget* w : std::initializer_list<QWidget*>{LabelN, lbN, LabelName, lbName, LabelSE,
                                                      ComboBoxSE, LabelKol, lbKol, LabelOKP, lbOKP,
                                                      LabelV, lbV, lbKg, sgPrice})
        w->setVisible(show);
    showWithShape(sbSelSE, sSelSE, show);
    showWithShape(sbDop, sDop, show);
    if (!show) {
        setStatus(QString(), QString());
        return;
    }
    const TQuery& part = dm->QPicPos;
    if (dm->QSTD.isEmpty()) showWithShape(sbDop, sDop, false);
    lbN->setText(part.asString(QStringLiteral("N")));
    lbName->setText(part.asString(QStringLiteral("Name")));
    if (RefillSE) {
        ComboBoxSE->clear();
        ComboBoxSE->addItem(part.asString(QStringLiteral("SE")));
        ComboBoxSE->setCurrentIndex(0);
    }
    RefillSE = true;
    lbKol->setText(part.asString(QStringLiteral("Quantity")));
    lbOKP->setText(part.asString(QStringLiteral("OKP")));

    const double weight = Fmt::nearest(part.asFloat(QStringLiteral("V")) * 1000) / 1000;
    lbV->setText(Fmt::floatToStr(weight));
    lbV->adjustSize();
    if (!lbV->text().isEmpty() && lbV->text() != QLatin1String("0")) {
        lbKg->setText(QStringLiteral("кг."));
        lbKg->adjustSize();
        lbKg->move(lbV->x() + lbV->width() + 5, lbV->y());
    } else {
        lbKg->setText(QStringLiteral("не указан"));
        lbKg->adjustSize();
        lbKg->move(lbV->x(), lbV->y());
        lbV->hide();
    }
    for (QWidget* w : std::initializer_list<QWidget*>{lbN, lbName, lbKol, lbOKP})
        w->setToolTip(static_cast<QLabel*>(w)->text());
    ComboBoxSE->setToolTip(ComboBoxSE->currentText());

    // Two rows per visible price column: without and with VAT.
    sgPrice->clearContents();
    sgPrice->setRowCount(1);
    int row = 0;
    for (const TDM::PriceColumn& p : dm->priceColumns()) {
        if (!p.visible) continue;
        const QString value = part.asString(p.field);
        QString plain = QStringLiteral("не указана");
        QString withVat = plain;
        if (!value.isEmpty() && value != QLatin1String("0")) {
            const double price = part.asFloat(p.field);
            plain = value + QStringLiteral(" руб./шт.");
            withVat = Fmt::floatToStr(Fmt::nearest(price * (Shared->ndsPercent() + 100)) / 100) +
                      QStringLiteral(" руб./шт.");
        }
        sgPrice->setRowCount(row + 2);
        setCell(sgPrice, row, 0, p.name);
        setCell(sgPrice, row, 1, plain);
        setCell(sgPrice, row + 1, 0, p.name + QStringLiteral(" с НДС"));
        setCell(sgPrice, row + 1, 1, withVat);
        row += 2;
    }

    setCurrentPart(lbN->text(), lbName->text(), lbV->text());
    const QString remark = part.asString(QStringLiteral("Rem"));
    setStatus(QStringLiteral("Примечание: ") + remark, remark);
}

void TmainForm::sgPriceDrawCell(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) {
    // Without the focus a selected price row looks like the others: no selection bar.
    const bool bar = (option.state & QStyle::State_Selected) && sgPrice->hasFocus();
    const QPalette& pal = sgPrice->palette();
    painter->save();
    painter->fillRect(option.rect, pal.color(bar ? QPalette::Highlight : QPalette::Base));
    painter->setPen(pal.color(bar ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                      index.data().toString());
    painter->restore();
}
