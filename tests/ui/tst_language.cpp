#include "core/i18n/UiLanguage.h"
#include "core/render/Fonts.h"
#include "ui/CircleShape.h"
#include "ui/DesignScreen.h"
#include "ui/ListBox.h"
#include "ui/PrintScreen.h"
#include "ui/QtDialogs.h"
#include "ui/SampleLabel.h"
#include "ui/SheetMap.h"

#include "MainFixture.h"
#include "PdfTools.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// What the user sees of each kind in one language.
struct Texts {
    QString firstNumber, history, file, preview, offsets, paperMessage, record, textHeader;
};

Texts textsIn(UiLanguage language)
{
    if (language == UiLanguage::English)
        return {"First no.",
                "History",
                "File",
                "Preview",
                "Offsets",
                "Please put A4 copy paper into the printer.",
                "Label print record",
                "Text"};
    return {"初期値",
            "履歴",
            "ファイル",
            "プレビュー",
            "オフセット",
            "A4のコピー用紙をプリンターに入れてください。",
            "ラベルプリント記録",
            "文字"};
}

std::function<bool(QPrinter&)> toPdf(const QString& path)
{
    return [path](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    };
}

QJsonObject readXls(const QString& path)
{
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {qEnvironmentVariable("RONDEL_SOURCE_DIR") + "/tests/xls/read_xls.py", path});
    reader.waitForFinished(60000);
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}

QByteArray stateFile(const MainFixture& f)
{
    QFile file(f.dir.path() + QStringLiteral("/state.json"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QString shownText(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(w))
        return group->title();
    return QString();
}

// The width a button's text takes: beside a check indicator, under a tool
// button's icon, or as the style sizes a push button.
int needed(const QWidget* w)
{
    const int text = w->fontMetrics().horizontalAdvance(shownText(w));
    if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w))
        return w->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
               w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + text;
    if (qobject_cast<const QToolButton*>(w))
        return text + 4;
    return w->sizeHint().width();
}

// Where a widget's text is drawn, in the root's coordinates, and what of it
// does not fit its room.
QRect textRect(const QWidget* w, const QWidget* root, QStringList& problems)
{
    const QString text = shownText(w);
    const QFontMetrics fm(w->font());
    const QString name = w->objectName() + QStringLiteral(" \"") + text + QLatin1Char('"');
    for (const uint ucs4 : text.toUcs4())
        if (!fm.inFontUcs4(ucs4) && !QChar::isSpace(ucs4))
            problems << QStringLiteral("no glyph for U+%1 in ").arg(ucs4, 4, 16, QLatin1Char('0')) +
                            name;
    QRect drawn = w->rect();
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        const QRect room = label->contentsRect();
        drawn = fm.boundingRect(
            room, int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0), text);
        if (drawn.width() > room.width() || drawn.height() > room.height())
            problems << QStringLiteral("clipped: ") + name;
    } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
        drawn = QRect(8, 0, fm.horizontalAdvance(text), fm.height()); // the title
        if (drawn.right() + 8 > group->width())
            problems << QStringLiteral("clipped: ") + name;
    } else if (needed(w) > w->width()) {
        problems << QStringLiteral("clipped: ") + name;
    }
    return QRect(w->mapTo(root, drawn.topLeft()), drawn.size());
}

// What a text must keep off: inputs, lists, the map, the sample, buttons.
bool isControl(const QWidget* w)
{
    return qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const SheetMap*>(w) || qobject_cast<const SampleLabel*>(w) ||
           qobject_cast<const QTabBar*>(w) || qobject_cast<const QAbstractButton*>(w);
}

bool related(const QWidget* a, const QWidget* b)
{
    return a->isAncestorOf(b) || b->isAncestorOf(a);
}

// Every text shown in the root fits its room, is drawn in a font that has
// its glyphs, and overlaps no other control or text.
QStringList misfits(QWidget* root)
{
    QStringList problems;
    QList<std::pair<QWidget*, QRect>> texts;
    QList<std::pair<QWidget*, QRect>> controls;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root) || w->parentWidget()->inherits("QAbstractScrollArea") ||
            w->parentWidget()->inherits("QAbstractSpinBox"))
            continue;
        if (!shownText(w).isEmpty())
            texts.append({w, textRect(w, root, problems)});
        if (qobject_cast<QGroupBox*>(w) || (shownText(w).isEmpty() && isControl(w)))
            controls.append({w, QRect(w->mapTo(root, QPoint(0, 0)), w->size())});
        if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            if (tabs->tabRect(tabs->count() - 1).right() >= tabs->width())
                problems << QStringLiteral("clipped: ") + tabs->objectName();
        }
    }
    for (const auto& [w, rect] : texts) {
        for (const auto& [other, otherRect] : texts + controls) {
            if (other != w && !related(w, other) && rect.intersects(otherRect))
                problems << QStringLiteral("%1 \"%2\" overlaps %3")
                                .arg(w->objectName(), shownText(w), other->objectName());
        }
    }
    problems.removeDuplicates();
    return problems;
}

// Texts in Japanese script anywhere in the window, its menus and dialogs,
// but for the language menu's own name of Japanese.
QStringList japaneseLeft(QWidget* root)
{
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}]"));
    QStringList found;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        QStringList texts = {shownText(w), w->accessibleName(), w->accessibleDescription(),
                             w->toolTip(), w->windowTitle()};
        if (const auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        if (const auto* menu = qobject_cast<QMenu*>(w))
            texts << menu->title();
        for (const QAction* action : w->actions())
            if (action->text() != QStringLiteral("日本語"))
                texts << action->text();
        for (const QString& text : texts)
            if (text.contains(japanese))
                found << QStringLiteral("still Japanese: %1 \"%2\"").arg(w->objectName(), text);
    }
    return found;
}

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }
    void screensRecordAndSpreadsheetInTheSystemLanguage();
    void menuChoiceAppliesAtOnceAndIsKept();
    void everyTextFitsInBothLanguages();
    void qtsOwnDialogsFollowTheLanguage();
};

// Run by CTest once on an English system and once on a Japanese one.
void TestLanguage::screensRecordAndSpreadsheetInTheSystemLanguage()
{
    MainFixture f;
    const UiLanguage language = UiLanguages::ofSystem();
    QCOMPARE(UiLanguages::current(), language);
    const Texts t = textsIn(language);
    const DesignControls& dc = f.w().design().controls();
    const PrintControls& pc = f.w().printScreen().controls();
    const MainControls& mc = f.w().controls();
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.w()));

    QCOMPARE(dc.firstNumberCaption->text(), t.firstNumber);
    QCOMPARE(mc.historyButton->text(), t.history);
    QCOMPARE(mc.fileMenu->title(), t.file);
    QTest::mouseClick(dc.typeButton[1], Qt::LeftButton);
    QTest::keyClicks(dc.upperEdit[1], QStringLiteral("LAB"));
    QTest::mouseClick(dc.printSetButton, Qt::LeftButton);
    QVERIFY(pc.previewButton->isVisible());
    QCOMPARE(pc.previewButton->text(), t.preview);
    QCOMPARE(pc.offsetGroup->title(), t.offsets);

    QTemporaryDir out;
    f.dialogs.printerAnswer = toPdf(out.filePath(QStringLiteral("labels.pdf")));
    QTest::mouseClick(pc.printButton, Qt::LeftButton);
    QVERIFY(f.state().lastJob);
    QCOMPARE(f.printed(0).upper, QStringLiteral("LAB")); // the user's text, as typed

    const QString record = out.filePath(QStringLiteral("record.pdf"));
    f.dialogs.printerAnswer = toPdf(record);
    QTest::mouseClick(mc.reportButton, Qt::LeftButton);
    QCOMPARE(f.dialogs.texts(QStringLiteral("message")).value(0), t.paperMessage);
    QString error;
    QVERIFY2(PdfTools::text(record, error).contains(t.record), qPrintable(error));

    const QString xls = out.filePath(QStringLiteral("labels.xls"));
    f.dialogs.saveFileAnswers << xls;
    QTest::mouseClick(mc.excelButton, Qt::LeftButton);
    const QJsonObject cells = readXls(xls)[QStringLiteral("cells")].toObject();
    QCOMPARE(cells[QStringLiteral("0,0")][QStringLiteral("text")].toString(), t.textHeader);
    QCOMPARE(cells[QStringLiteral("1,0")][QStringLiteral("text")].toString(),
             QStringLiteral("LAB"));
}

void TestLanguage::menuChoiceAppliesAtOnceAndIsKept()
{
    auto f = std::make_unique<MainFixture>();
    const UiLanguage system = UiLanguages::ofSystem();
    const UiLanguage other =
        system == UiLanguage::English ? UiLanguage::Japanese : UiLanguage::English;
    QAction* otherAction = other == UiLanguage::English ? f->w().controls().englishAction
                                                        : f->w().controls().japaneseAction;
    QVERIFY(f->w().controls().automaticLanguageAction->isChecked());

    otherAction->trigger();
    QCOMPARE(f->w().design().controls().firstNumberCaption->text(), textsIn(other).firstNumber);
    QCOMPARE(f->w().printScreen().controls().offsetGroup->title(), textsIn(other).offsets);
    const QByteArray saved = "\"uiLanguage\": \"" + UiLanguages::key(other).toLatin1() + '"';
    QVERIFY(stateFile(*f).contains(saved));

    // A restart comes up in the chosen language.
    const QString dir = f->dir.path();
    f->window.reset();
    UiLanguages::apply(UiLanguage::Automatic); // as a new process starts
    f->window = std::make_unique<MainWindow>(f->dialogs, dir, fixedNow);
    QCOMPARE(UiLanguages::current(), other);
    QVERIFY((other == UiLanguage::English ? f->w().controls().englishAction
                                          : f->w().controls().japaneseAction)
                ->isChecked());
    QCOMPARE(f->w().design().controls().firstNumberCaption->text(), textsIn(other).firstNumber);

    // Back to the system's language: the state file says nothing of it again.
    f->w().controls().automaticLanguageAction->trigger();
    QCOMPARE(UiLanguages::current(), system);
    QCOMPARE(f->w().design().controls().firstNumberCaption->text(), textsIn(system).firstNumber);
    QVERIFY(!stateFile(*f).contains("uiLanguage"));
}

void TestLanguage::everyTextFitsInBothLanguages()
{
    MainFixture f;
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.w()));
    const DesignControls& dc = f.w().design().controls();
    QStringList problems;
    for (QAction* language : {f.w().controls().japaneseAction, f.w().controls().englishAction}) {
        language->trigger();
        const QString in = language->text() + QStringLiteral(": ");
        for (int page = 0; page < 3; ++page) {
            QTest::mouseClick(f.w().controls().typePageTabs, Qt::LeftButton, {},
                              f.w().controls().typePageTabs->tabRect(page).center());
            for (const QString& p : misfits(&f.w()))
                problems << in + QStringLiteral("design page %1: ").arg(page + 1) + p;
        }
        chooseRow(dc.repeatCountList, 1); // Rainbow shows for more than one label a sample
        QTest::mouseClick(dc.printSetButton, Qt::LeftButton);
        for (const QString& p : misfits(&f.w()))
            problems << in + QStringLiteral("print screen: ") + p;
        QTest::mouseClick(f.w().controls().backButton, Qt::LeftButton);
    }
    // English now: a text given without tr(), or not set again on the
    // change, stays Japanese (shown or not yet shown).
    problems << japaneseLeft(&f.w());
    problems.removeDuplicates();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestLanguage::qtsOwnDialogsFollowTheLanguage()
{
    // The buttons Qt names itself, as a box of the program shows them.
    MainFixture f;
    QtDialogs dialogs;
    const auto yesButton = [&dialogs] {
        QString shown;
        QTimer::singleShot(0, [&shown] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            shown = box->button(QMessageBox::Yes)->text();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        dialogs.askYesNo(nullptr, QStringLiteral("?"));
        return shown;
    };
    f.w().controls().japaneseAction->trigger();
    QCOMPARE(yesButton(), QStringLiteral("はい(&Y)"));
    f.w().controls().englishAction->trigger();
    QCOMPARE(yesButton(), QStringLiteral("&Yes"));
    f.w().controls().japaneseAction->trigger();
    QCOMPARE(yesButton(), QStringLiteral("はい(&Y)"));
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
