// The main window and the dialogs under a real window manager: the frame on the screen, the
// captions and the buttons of the title bars. Run by under_wm.sh on an X display with openbox.
#include "app/about.h"
#include "app/catalogapp.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "app/messbox.h"
#include "app/widgets.h"
#include "search/find.h"
#include "search/list.h"
#include "settings/option.h"
#include "support/fixture.h"
#include "support/modalscript.h"

#include <QAbstractButton>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWindow>
#include <QtTest>
#include <cstdio>

namespace {

// A property of a window as the window manager and the X server hold it (xprop's value text).
QString xProperty(const QWidget* window, const char* name) {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window->winId()),
                                          QString::fromLatin1(name)});
    xprop.waitForFinished(5000);
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const int eq = out.indexOf(QStringLiteral(" = "));
    return eq < 0 ? QString() : out.mid(eq + 3);
}

// Shows a window and waits until the window manager has framed it.
bool framed(QWidget* window) {
    if (!window->isVisible()) window->show();
    if (!QTest::qWaitForWindowExposed(window, 15000)) return false;
    return QTest::qWaitFor([window] { return !xProperty(window, "_NET_FRAME_EXTENTS").isEmpty(); },
                           15000);
}

// The share of pixels two pictures of one size have alike.
double alike(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) return 0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    qint64 same = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            same += x.pixel(col, row) == y.pixel(col, row);
    return double(same) / (qint64(x.width()) * x.height());
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mainWindowWithItsFrameFitsTheWorkArea();
    void captionsAreTheWindowsOwn();
    void fixedWindowsOfferNoMaximise();
};

void TestDesktop::mainWindowWithItsFrameFitsTheWorkArea() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    QVERIFY(forms);
    TmainForm& m = forms->main();
    m.showMaximized();
    QVERIFY(framed(&m));
    QTest::qWait(200); // the window manager's placement
    const QRect work = m.screen()->availableGeometry();
    QVERIFY2(work.contains(m.frameGeometry()),
             qPrintable(QStringLiteral("frame %1,%2 %3x%4 in the work area %5x%6")
                            .arg(m.frameGeometry().x())
                            .arg(m.frameGeometry().y())
                            .arg(m.frameGeometry().width())
                            .arg(m.frameGeometry().height())
                            .arg(work.width())
                            .arg(work.height())));

    // What the screen shows where the status bar lies is the status bar with its remark.
    m.setStatus(QStringLiteral("Примечание: проверка"), QStringLiteral("проверка"));
    QTest::qWait(200);
    QStatusBar* bar = m.statusBar();
    const QRect barOnScreen(bar->mapToGlobal(QPoint(0, 0)), bar->size());
    QVERIFY(work.contains(barOnScreen));
    const QImage screen = m.screen()->grabWindow(0).toImage();
    // (Compared a few pixels either way: the window manager's frame border may shift the
    // window from where the program believes it is.)
    const QImage drawn = bar->grab().toImage();
    double share = 0;
    for (int dx = -3; dx <= 3; ++dx)
        for (int dy = -3; dy <= 3; ++dy)
            share = std::max(share, alike(screen.copy(barOnScreen.translated(dx, dy)), drawn));
    QVERIFY2(share > 0.98, qPrintable(QString::number(share)));

    // So are the bottom rows of the panels.
    m.pressPanelButton(m.sbView);
    const QRect button(m.sbPutToHistory->mapToGlobal(QPoint(0, 0)), m.sbPutToHistory->size());
    QVERIFY(barOnScreen.top() >= button.bottom());
    QVERIFY(script.unexpected.isEmpty());
}

void TestDesktop::captionsAreTheWindowsOwn() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    QVERIFY(forms);
    QVERIFY(framed(&forms->main()));
    QCOMPARE(xProperty(&forms->main(), "_NET_WM_NAME"),
             QStringLiteral("\"Каталог деталей и сборочных единиц\""));
    QString boxCaption;
    script.then([&](QDialog& d) {
        if (framed(&d)) boxCaption = xProperty(&d, "_NET_WM_NAME");
        d.findChild<QAbstractButton*>(QStringLiteral("bOK"))->click();
    });
    messForm->ShowBox(QStringLiteral("Проверка"), CatalogCaption, TmessForm::kindOk);
    QCOMPARE(boxCaption, QStringLiteral("\"Каталог деталей и сборочных единиц\""));
    QVERIFY(framed(findForm));
    QCOMPARE(xProperty(findForm, "_NET_WM_NAME"), QStringLiteral("\"Параметры поиска\""));
    findForm->hide();
    QVERIFY(script.unexpected.isEmpty());
}

void TestDesktop::fixedWindowsOfferNoMaximise() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    QVERIFY(forms);
    forms->main().showMaximized();
    messForm->layoutFor(QStringLiteral("Проверка"), CatalogCaption, TmessForm::kindYesNo);
    const QList<QWidget*> windows = {&forms->main(), findForm, optionForm,
                                     listForm,       AboutBox, messForm};
    for (QWidget* w : windows) {
        QVERIFY2(framed(w), qPrintable(w->objectName()));
        const QString actions = xProperty(w, "_NET_WM_ALLOWED_ACTIONS");
        QVERIFY2(actions.contains(QStringLiteral("_NET_WM_ACTION_CLOSE")),
                 qPrintable(w->objectName() + ": " + actions));
        QVERIFY2(!actions.contains(QStringLiteral("MAXIMIZE")),
                 qPrintable(w->objectName() + ": " + actions));
        QVERIFY2(!actions.contains(QStringLiteral("_NET_WM_ACTION_RESIZE")),
                 qPrintable(w->objectName() + ": " + actions));
        // The hints every window manager reads: the maximise button neither drawn nor offered.
        const QStringList motif = xProperty(w, "_MOTIF_WM_HINTS").split(QStringLiteral(", "));
        QVERIFY2(motif.size() >= 3, qPrintable(w->objectName()));
        const uint functions = motif[1].toUInt(nullptr, 16);
        const uint decorations = motif[2].toUInt(nullptr, 16);
        constexpr uint MaximizeFunction = 0x10, MaximizeButton = 0x40, All = 0x1;
        QVERIFY2(!(decorations & (MaximizeButton | All)),
                 qPrintable(w->objectName() + ": " + motif.join(",")));
        QVERIFY2(!(functions & (MaximizeFunction | All)),
                 qPrintable(w->objectName() + ": " + motif.join(",")));
        if (w != &forms->main()) w->hide();
    }
    QVERIFY(xProperty(&forms->main(), "_NET_WM_ALLOWED_ACTIONS")
                .contains(QStringLiteral("_NET_WM_ACTION_MINIMIZE")));
    QVERIFY(script.unexpected.isEmpty());
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("SKIPPED: no X display (run through under_wm.sh)");
        return 77;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", settingsHome.path().toUtf8());
    CatalogApplication app(argc, argv);
    TestDesktop test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop.moc"
