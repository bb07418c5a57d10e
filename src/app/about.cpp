#include "app/about.h"

#include "app/dialogs.h"
#include "app/widgets.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

TAboutBox* AboutBox = nullptr;

namespace {

// The white panel with a raised inner and a lowered outer bevel.
class BevelPanel : public QFrame {
public:
    explicit BevelPanel(QWidget* parent) : QFrame(parent) {
        setObjectName(QStringLiteral("Panel1"));
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect r = rect().adjusted(0, 0, -1, -1);
        p.setPen(Qt::gray);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(Qt::white);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        const QRect in = r.adjusted(1, 1, -1, -1);
        p.setPen(Qt::white);
        p.drawLine(in.topLeft(), in.topRight());
        p.drawLine(in.topLeft(), in.bottomLeft());
        p.setPen(Qt::gray);
        p.drawLine(in.bottomLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomRight());
    }
};

QLabel* centredLabel(QWidget* parent, const QString& text, int top, int pointSize, bool bold) {
    auto* l = new QLabel(text, parent);
    QFont f = windowFont();
    f.setPointSize(pointSize);
    f.setBold(bold);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    l->setGeometry(10, top, 444, QFontMetrics(f).height() * 2);
    l->setWordWrap(true);
    return l;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setupDialog(this, QStringLiteral("AboutBox"), QStringLiteral("О программе"));
    setFixedSize(477, 246);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto* panel = new BevelPanel(this);
    panel->setGeometry(8, 8, 464, 201);
    centredLabel(panel, QStringLiteral("Каталог деталей и сборочных единиц"), 20, 14, true);
    centredLabel(panel, QStringLiteral("Трактор М-315.04"), 60, 12, true);
    auto* rule = new QFrame(panel);
    rule->setObjectName(QStringLiteral("Bevel1"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(5, 105, 452, 2);
    centredLabel(panel,
                 QStringLiteral("Версия %1\nПоиск деталей по рисункам и номерам, корзина заказа, "
                                "история заказов и коммерческие документы")
                     .arg(QApplication::applicationVersion()),
                 120, 9, false)
        ->setGeometry(10, 120, 444, 60);

    // The grey frame around the flat "OK".
    auto* frame = new QFrame(this);
    frame->setGeometry(199, 215, 83, 27);
    frame->setStyleSheet(QStringLiteral("border: 1px solid gray;"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setFlat(true);
    ok->setGeometry(200, 216, 81, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    centreOnScreen(this);
}

void TAboutBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) raiseTopmostWindows(this);
    QDialog::changeEvent(event);
}
