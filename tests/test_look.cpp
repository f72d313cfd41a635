// The main window as the program draws it, with its own font, font resolution
// and style: every text fits its box in both languages, style-sheet fonts the
// machine lacks become the program's font, focus frames only follow the
// keyboard, image buttons show their hover frame, and the window has its icon.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>
#include <QToolButton>

#include <memory>

#include "deadlines.h"
#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_ui.h"
#include "app/startup.h"
#include "clipped_texts.h"
#include "store/settings.h"
#include "warning_log.h"
#include "widgets/customcontrols.h"
#include "widgets/framelesshelper.h"
#include "widgets/globalfont.h"
#include "widgets/keyboardfocusstyle.h"
#include "widgets/resources.h"
#include "window_fixture.h"

namespace {

bool sameImage(QWidget* w, const QImage& reference) { return w->grab().toImage() == reference; }

} // namespace

class TestLook : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

    std::unique_ptr<MainWindow> makeWindow(int language)
    {
        dir = freshWindowDir();
        if (!dir)
            return nullptr;
        config_Init();
        sysSetValue.Language = language;
        Config_update();
        auto w = std::make_unique<MainWindow>();
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            return nullptr;
        return w;
    }

public:
    // The program sets this resolution before its application object exists.
    static void initMain() { qputenv("QT_FONT_DPI", "72"); }

private slots:
    void initTestCase()
    {
        initResources();
        testsupport::installWarningLog();
        QVERIFY(installApplicationFont());
        QApplication::setStyle(new KeyboardFocusStyle(QStyleFactory::create("Windows")));
        qApp->setStyleSheet("QToolTip { color: rgb(216, 215, 216); background-color: black; "
                            "border: 1px solid gray; }");
    }

    void textsFit_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("maximised");
        QTest::newRow("English, smallest") << 1 << false;
        QTest::newRow("Chinese, smallest") << 0 << false;
        QTest::newRow("English, maximised") << 1 << true;
        QTest::newRow("Chinese, maximised") << 0 << true;
    }

    void textsFit()
    {
        QFETCH(int, language);
        QFETCH(bool, maximised);
        auto w = makeWindow(language);
        const MainWindowInternals in = internals(*w);
        QVERIFY(w);
        // Every band row, so every row's texts are laid out.
        for (const BandRowDescriptor& row : bandRowDescriptors())
            row.groupBox.of(*in.ui)->show();
        if (maximised)
            in.framelessHelper->setMax(w.get(), true);
        else
            w->resize(w->minimumSize());
        QTRY_COMPARE(w->size(), maximised ? w->screen()->availableSize() : w->minimumSize());
        QApplication::processEvents(); // layouts
        const QStringList clipped = testsupport::clippedTexts(w.get());
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join("\n")));

        // The language switch keeps them whole.
        sysSetValue.Language = language == 1 ? 0 : 1;
        w->Language_Change_UI();
        QApplication::processEvents();
        const QStringList afterSwitch = testsupport::clippedTexts(w.get());
        QVERIFY2(afterSwitch.isEmpty(), qPrintable(afterSwitch.join("\n")));
    }

    // The pickers and the channel-mode box ask for a family this machine lacks.
    void missingStyleFontIsTheProgramFont()
    {
        auto w = makeWindow(1);
        const MainWindowInternals in = internals(*w);
        QVERIFY(w);
        for (QWidget* box : std::initializer_list<QWidget*> {
                 in.ui->comboBox, in.ui->comboBox_2, in.comboBox_PEQMode })
            QCOMPARE(QFontInfo(box->font()).family(), gFont.family());
    }

    // A focus frame follows the keyboard only: not the save button's focus at
    // start, not a clicked switch; after Tab it shows.
    void focusFramesFollowTheKeyboard()
    {
        auto w = makeWindow(1);
        const MainWindowInternals in = internals(*w);
        QVERIFY(w);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QPushButton* save = in.ui->PButton_Set_2;
        QTRY_VERIFY(save->hasFocus());
        const QImage focused = save->grab().toImage();
        w->setFocus();
        QTRY_VERIFY(!save->hasFocus());
        QVERIFY(sameImage(save, focused));

        QCheckBox* each = in.ui->checkBox_each;
        each->setFocusPolicy(Qt::StrongFocus);
        const QImage before = each->grab().toImage();
        QTest::mouseClick(each, Qt::LeftButton);
        QTest::mouseClick(each, Qt::LeftButton); // back to where it was
        QTRY_VERIFY(each->hasFocus());
        QVERIFY(sameImage(each, before));

        // Tab from the switch: the next control gets a frame it did not have.
        QTest::keyClick(each, Qt::Key_Tab);
        QTRY_VERIFY(!each->hasFocus());
        QWidget* next = QApplication::focusWidget();
        QVERIFY(next);
        const QImage tabbed = next->grab().toImage();
        next->clearFocus();
        QVERIFY(!sameImage(next, tabbed));
    }

    // Hovering an image button draws its 2-px grey frame.
    void imageButtonHoverFrame()
    {
        auto w = makeWindow(1);
        QVERIFY(w);
        QPushButton* settings = internals(*w).ui->PButton_Set;
        const QPoint edge(0, settings->height() / 2);
        QTest::mouseMove(w.get(), settings->mapTo(w.get(), QPoint(-20, settings->height() / 2)));
        QTRY_COMPARE(settings->grab().toImage().pixelColor(edge), QColor(0, 0, 0));
        QTest::mouseMove(settings, settings->rect().center());
        QTRY_COMPARE(settings->grab().toImage().pixelColor(edge), QColor(128, 128, 128));
    }

    // A tool button whose menu closed with the pointer elsewhere drops its hover.
    void menuButtonHoverAfterMenu()
    {
        auto w = makeWindow(1);
        QVERIFY(w);
        QToolButton* help = internals(*w).ui->toolButton_3;
        QCursor::setPos(help->mapToGlobal(help->rect().center()));
        QTRY_VERIFY(help->underMouse());
        emit help->menu()->aboutToHide();
        QTest::qWait(0);
        QVERIFY(help->underMouse()); // still over it: keeps the hover look

        // The pointer left while the menu held the mouse: the button never
        // heard of it.
        QCursor::setPos(help->mapToGlobal(QPoint(-50, -50)));
        QTRY_VERIFY(!help->underMouse());
        help->setAttribute(Qt::WA_UnderMouse, true);
        emit help->menu()->aboutToHide();
        QTRY_VERIFY(!help->underMouse());
    }

    void windowIconIsTheLogo()
    {
        auto w = makeWindow(1);
        QVERIFY(w);
        QVERIFY(!w->windowIcon().isNull());
        QCOMPARE(w->windowIcon().pixmap(64).toImage().convertToFormat(
                     QImage::Format_ARGB32_Premultiplied),
            QImage(":ThirdPartyResources/images/QV.png")
                .convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
};

QTEST_MAIN(TestLook)
#include "test_look.moc"
