#include "core/io/DesignFile.h"
#include "core/io/RunFiles.h"
#include "core/model/Freeze.h"
#include "core/registry/RegistryThread.h"
#include "ui/DesignScreen.h"
#include "ui/HistoryDialog.h"
#include "ui/PrintScreen.h"
#include "ui/ReprintDialog.h"
#include "ui/SampleLabel.h"

#include "MainFixture.h"
#include "PdfTools.h"
#include "PostgresServer.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

// The window and the registry of issued labels, as a user meets them: the
// question before labels issued before, the history with its records and
// reprints, a job that may not have printed, a registry that cannot be
// used, and jobs of another station on a shared one.
class TestRegistryWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void labelsIssuedBeforeAreAskedAbout_data();
    void labelsIssuedBeforeAreAskedAbout();
    void historyRecordsAndReprintsAPastJob();
    void aReprintIsRefusedAsTheCommandLineRefusesIt();
    void aJobInQuestionIsAskedAboutAtStart_data();
    void aJobInQuestionIsAskedAboutAtStart();
    void aJobInQuestionIsSettledFromHistory();
    void eachTypeGoesOnFromItsOwnLastJob();
    void aRegistryThatCannotBeUsed_data();
    void aRegistryThatCannotBeUsed();
    void anotherStationsJobMovesTheNumberingOn();
    void aFrozenServerHoldsTheJobNoLongerThanItsDeadline();
};

namespace {

QString wordsOf(const QString& pdf)
{
    QString error;
    return PdfTools::text(pdf, error).simplified();
}

// Type `type` from `first`, `samples` samples, through PrintSet and Print
// into `pdf`, as a user clicks and types.
void printJob(MainFixture& f, int type, int first, int samples, const QString& pdf)
{
    const DesignControls& dc = f.w().design().controls();
    // On the round mark: the button's middle may be past its caption.
    QRadioButton* button = dc.typeButton[type];
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    QVERIFY(button->isChecked());
    if (labelType(type).hasNumber())
        clickRow(dc.firstNumberList, first);
    clickRow(dc.sampleCountList, samples - 1);
    QTest::mouseClick(dc.printSetButton, Qt::LeftButton);
    f.dialogs.printerAnswer = [pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    QTest::mouseClick(f.w().printScreen().controls().printButton, Qt::LeftButton);
}

template <typename T>
T* shown(const char* name)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* found = top->findChild<T*>(QString::fromLatin1(name)); found && found->isVisible())
            return found;
        if (top->objectName() == QLatin1String(name) && top->isVisible())
            return qobject_cast<T*>(top);
    }
    return nullptr;
}

// A job of labels 0001..0002 from position 1, reserved by a program that
// died before it heard back.
void reserveJobInQuestion(const TestAppDir& dir)
{
    dir.writeStartFile("10,10,1\r\n\r\n");
    RegistryJob job;
    job.station = Station::ofThisProcess(dir.path());
    job.design.firstNumber = 1;
    job.job.run = freeze(job.design, QDate(2026, 12, 8));
    job.job.run.sampleCount = 2;
    job.job.labels = {{"", "0001"}, {"", "0002"}};
    job.movesNumbering = true;
    job.numberingAfter = {3, 0, 0, 0};
    job.nextPosition = 3;
    {
        const auto registry =
            SqlRegistry::open(*RegistryTarget::parse(dir.path() + "/registry.sqlite", nullptr));
        QVERIFY(registry->reserve(job, 0));
    }
    dir.writeStartFile("10,10,3\r\n\r\n");
}

} // namespace

void TestRegistryWindow::labelsIssuedBeforeAreAskedAbout_data()
{
    QTest::addColumn<bool>("printAgain");
    QTest::newRow("printed again") << true;
    QTest::newRow("not printed") << false;
}

void TestRegistryWindow::labelsIssuedBeforeAreAskedAbout()
{
    QFETCH(bool, printAgain);
    MainFixture f;
    f.w().show();
    const QString first = f.dir.path() + "/first.pdf", again = f.dir.path() + "/again.pdf";
    printJob(f, 1, 31, 10, first);
    QVERIFY(QFile::exists(first));
    // The first number set back by mistake: 0036..0040 were issued.
    f.dialogs.chooseAnswers = {printAgain ? 1 : 0};
    printJob(f, 1, 36, 10, again);
    QCOMPARE(f.dialogs.count("choose"), 1);
    const QString detail = f.dialogs.calls.last().detail;
    QVERIFY2(detail.startsWith(QStringLiteral("0036–0040 ")) && detail.contains(" 1"),
             qPrintable(detail));
    QCOMPARE(QFile::exists(again), printAgain);
    // Declined, nothing moved: the registry goes on at 0041, the screen
    // keeps the user's number for them to set right.
    QVERIFY(f.w().design().controls().nextJobLine->text().contains(printAgain ? "0046" : "0036"));
    QCOMPARE(f.w().registry()->numbering(1)->firstNumber, printAgain ? 46 : 41);
}

void TestRegistryWindow::historyRecordsAndReprintsAPastJob()
{
    // A dated job on 8 December, its record and spreadsheet then; a day
    // later, from the history: the same record and spreadsheet, and a
    // reprint of samples 2..3 that keeps their date and the numbering.
    QDateTime now = fixedNow();
    MainFixture f("10,10,1\r\n\r\n", [&now] { return now; });
    f.w().show();
    printJob(f, 4, 1, 6, f.dir.path() + "/labels.pdf");
    const auto record = [&f](const QString& name) {
        const QString pdf = f.dir.path() + '/' + name;
        f.dialogs.printerAnswer = [pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        return pdf;
    };
    const QString recordThen = record("then.pdf");
    QTest::mouseClick(f.w().controls().reportButton, Qt::LeftButton);
    f.dialogs.saveFileAnswers << f.dir.path() + "/then.xls";
    QTest::mouseClick(f.w().controls().excelButton, Qt::LeftButton);

    now = now.addDays(1);
    const QString next = f.w().design().controls().nextJobLine->text();
    QTest::mouseClick(f.w().controls().historyButton, Qt::LeftButton);
    auto* history = shown<HistoryDialog>("historyDialog");
    QVERIFY(history);
    auto* search = history->findChild<QLineEdit*>("historySearch");
    QTest::keyClicks(search, QStringLiteral("12/08 0003"));
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(history->selectedJob(), f.state().lastJob->registryId);

    const QString recordNow = record("now.pdf");
    QTest::mouseClick(history->findChild<QPushButton*>("historyRecord"), Qt::LeftButton);
    QCOMPARE(wordsOf(recordNow), wordsOf(recordThen));
    f.dialogs.saveFileAnswers << f.dir.path() + "/now.xls";
    QTest::mouseClick(history->findChild<QPushButton*>("historySpreadsheet"), Qt::LeftButton);
    QFile a(f.dir.path() + "/then.xls"), b(f.dir.path() + "/now.xls");
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(b.readAll(), a.readAll());

    QTest::mouseClick(history->findChild<QPushButton*>("historyReprint"), Qt::LeftButton);
    auto* reprint = shown<ReprintDialog>("reprintDialog");
    QVERIFY(reprint);
    QTest::mouseClick(reprint->findChild<QRadioButton*>("reprintSamples"), Qt::LeftButton);
    auto* firstSample = reprint->findChild<QSpinBox*>("reprintFirstSample");
    auto* lastSample = reprint->findChild<QSpinBox*>("reprintLastSample");
    firstSample->selectAll();
    QTest::keyClicks(firstSample, "2");
    lastSample->selectAll();
    QTest::keyClicks(lastSample, "3");
    const QString again = record("again.pdf");
    QTest::mouseClick(reprint->findChild<QPushButton*>("reprintPrint"), Qt::LeftButton);
    QCOMPARE(wordsOf(again), QStringLiteral("12/08 0002 12/08 0003"));
    QCOMPARE(f.w().design().controls().nextJobLine->text(),
             QString(next).replace(QStringLiteral("開始位置 7"), QStringLiteral("開始位置 9")));
    QCOMPARE(history->findChild<QTableWidget*>("historyTable")->rowCount(), 2);
    history->close();
}

void TestRegistryWindow::aReprintIsRefusedAsTheCommandLineRefusesIt()
{
    // One planning for both: without a start file the window's reprint and
    // the command line's say the same, naming the file.
    MainFixture f;
    f.w().show();
    printJob(f, 1, 1, 3, f.dir.path() + "/labels.pdf");
    QVERIFY(QFile::remove(f.dir.startFilePath()));
    QTest::mouseClick(f.w().controls().historyButton, Qt::LeftButton);
    auto* history = shown<HistoryDialog>("historyDialog");
    QVERIFY(history);
    auto* table = history->findChild<QTableWidget*>("historyTable");
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(0, 0)).center());
    QTest::mouseClick(history->findChild<QPushButton*>("historyReprint"), Qt::LeftButton);
    auto* reprint = shown<ReprintDialog>("reprintDialog");
    QVERIFY(reprint);
    QTest::mouseClick(reprint->findChild<QPushButton*>("reprintPrint"), Qt::LeftButton);
    history->close();
    const QStringList errors = f.dialogs.texts("error");
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(QDir::toNativeSeparators(f.dir.startFilePath())),
             qPrintable(errors.first()));

    QProcess cli;
    cli.start(QStringLiteral(RONDEL_CLI), {"reprint", "1", "--pdf", f.dir.path() + "/again.pdf",
                                           "--state-dir", f.dir.path()});
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), 2);
    QCOMPARE(QString::fromUtf8(cli.readAllStandardError()),
             "rondelmaker-cli: " + QString(errors.first()).replace("\n", "\n  ") + "\n");
    QVERIFY(!QFile::exists(f.dir.path() + "/again.pdf"));
}

void TestRegistryWindow::aJobInQuestionIsAskedAboutAtStart_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("it printed") << 0;
    QTest::newRow("it did not") << 1;
    QTest::newRow("later") << 2;
}

void TestRegistryWindow::aJobInQuestionIsAskedAboutAtStart()
{
    QFETCH(int, answer);
    TestAppDir dir;
    reserveJobInQuestion(dir);
    ScriptedDialogs dialogs;
    dialogs.chooseAnswers = {answer};
    MainWindow w(dialogs, dir.path(), fixedNow);
    w.show();
    QTRY_COMPARE(dialogs.count("choose"), 1);
    QVERIFY(dialogs.texts("choose").first().contains("0001～0002"));
    const QString next = w.design().controls().nextJobLine->text();
    const auto history = w.registry()->history({});
    if (answer == 1) {
        QVERIFY(history->isEmpty());
        QCOMPARE(next, QStringLiteral("次: 0001 ・ 開始位置 1"));
    } else {
        QCOMPARE(history->first().state, answer == 0 ? JobState::Printed : JobState::Reserved);
        QCOMPARE(next, QStringLiteral("次: 0003 ・ 開始位置 3"));
    }
}

void TestRegistryWindow::aJobInQuestionIsSettledFromHistory()
{
    TestAppDir dir;
    reserveJobInQuestion(dir);
    ScriptedDialogs dialogs;
    dialogs.chooseAnswers = {2, 1}; // later at start; from History, it did not print
    MainWindow w(dialogs, dir.path(), fixedNow);
    w.show();
    QTRY_COMPARE(dialogs.count("choose"), 1);
    QTest::mouseClick(w.controls().historyButton, Qt::LeftButton);
    auto* history = shown<HistoryDialog>("historyDialog");
    QVERIFY(history);
    auto* table = history->findChild<QTableWidget*>("historyTable");
    auto* settle = history->findChild<QPushButton*>("historySettle");
    QVERIFY(!settle->isEnabled());
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualItemRect(table->item(0, 0)).center());
    QVERIFY(settle->isEnabled());
    QTest::mouseClick(settle, Qt::LeftButton);
    // The question at start, with its effect: the job and its numbers go.
    QCOMPARE(dialogs.texts("choose"), QStringList(2, dialogs.texts("choose").first()));
    QCOMPARE(table->rowCount(), 0);
    QVERIFY(!settle->isEnabled());
    QCOMPARE(w.design().controls().nextJobLine->text(), QStringLiteral("次: 0001 ・ 開始位置 1"));
    history->close();
}

void TestRegistryWindow::eachTypeGoesOnFromItsOwnLastJob()
{
    MainFixture f;
    f.w().show();
    printJob(f, 1, 1, 10, f.dir.path() + "/one.pdf");   // 0001..0010
    printJob(f, 2, 990, 20, f.dir.path() + "/two.pdf"); // A990..B009
    const DesignControls& dc = f.w().design().controls();
    const auto choose = [&dc](int type) {
        QTest::mouseClick(dc.typeButton[type], Qt::LeftButton, {}, QPoint(8, 11));
    };
    // Not 0010, where the type 2 job left the shared first number.
    choose(1);
    QCOMPARE(dc.firstNumberList->currentRow(), 11);
    QVERIFY(dc.nextJobLine->text().startsWith(QStringLiteral("次: 0011")));
    choose(2);
    QVERIFY(dc.nextJobLine->text().startsWith(QStringLiteral("次: B010")));
    QCOMPARE(dc.letters(LetterList::Type2)->currentRow(), 1);
    // Any first number may still be chosen; a type without a job keeps it.
    clickRow(dc.firstNumberList, 500);
    choose(5);
    QCOMPARE(f.state().design.firstNumber, 500);
}

void TestRegistryWindow::aRegistryThatCannotBeUsed_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("damaged, kept aside") << "keep";
    QTest::newRow("damaged, quit") << "quit";
    QTest::newRow("locked") << "locked";
}

void TestRegistryWindow::aRegistryThatCannotBeUsed()
{
    QFETCH(QString, kind);
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    const QString file = dir.path() + "/registry.sqlite";
    QSqlDatabase holder;
    if (kind == "locked") {
        holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
        holder.setDatabaseName(file);
        QVERIFY(holder.open());
        QSqlQuery(holder).exec("CREATE TABLE other (x)");
        QVERIFY(QSqlQuery(holder).exec("BEGIN EXCLUSIVE"));
    } else {
        QFile garbage(file);
        QVERIFY(garbage.open(QIODevice::WriteOnly) && garbage.write(QByteArray(4096, 'x')));
    }
    ScriptedDialogs dialogs;
    dialogs.chooseAnswers = {kind == "keep" ? 0 : 1};
    MainWindow w(dialogs, dir.path(), fixedNow);
    const ScriptedDialogs::Call asked = dialogs.calls.value(0);
    QVERIFY2(asked.detail.contains(QDir::toNativeSeparators(file)), qPrintable(asked.detail));
    if (kind == "keep") {
        QCOMPARE(asked.kind, "choose");
        QFile kept(file + ".bad");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray(4096, 'x'));
        QVERIFY(w.registry() && w.registry()->isOpen());
    } else if (kind == "quit") {
        QTRY_VERIFY(!w.isVisible() && w.state().closeRequested);
        QCOMPARE(QFileInfo(file).size(), 4096);
    } else {
        // Nothing prints until the registry can be used.
        QCOMPARE(asked.kind, "message");
        QVERIFY(!w.registry());
        QTest::mouseClick(w.design().controls().printSetButton, Qt::LeftButton);
        const QString pdf = dir.path() + "/labels.pdf";
        dialogs.printerAnswer = [pdf](QPrinter& printer) {
            printer.setOutputFileName(pdf);
            return true;
        };
        QTest::mouseClick(w.printScreen().controls().printButton, Qt::LeftButton);
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(dialogs.texts("error").last().contains(file));
        QSqlQuery(holder).exec("ROLLBACK");
        holder.close();
    }
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase("holder");
}

void TestRegistryWindow::anotherStationsJobMovesTheNumberingOn()
{
    PostgresServer server;
    if (!server.isReady())
        QSKIP(qPrintable(server.skipReason()));
    TestAppDir other;
    other.writeStartFile("10,10,1\r\n\r\n");
    MainFixture f;
    for (const TestAppDir* station : {&other, &f.dir}) {
        QFile conf(station->path() + "/rondelmaker.conf");
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("registry=" + server.url().toUtf8() + "\n");
    }
    // The configuration is read at start.
    f.window = std::make_unique<MainWindow>(f.dialogs, f.dir.path(), fixedNow);
    f.w().setRegistryPollInterval(50);
    f.w().show();
    QVERIFY(f.w().controls().registryLine->text().contains(server.socketFolder()));
    QTest::mouseClick(f.w().design().controls().printSetButton, Qt::LeftButton);
    QCOMPARE(f.w().printScreen().controls().sampleLabel->lower(), QStringLiteral("0001"));

    // The other station prints 0001..0020 as the window stands at the sample.
    QProcess cli;
    LabelDesign design;
    design.sampleCount = 20;
    QVERIFY(DesignFile::save(other.path() + "/d.json", design, nullptr));
    cli.start(QStringLiteral(RONDEL_CLI), {"print", other.path() + "/d.json", "--pdf",
                                           other.path() + "/o.pdf", "--state-dir", other.path()});
    QVERIFY(cli.waitForFinished(30000) && cli.exitCode() == 0);
    QTRY_COMPARE(f.w().printScreen().controls().sampleLabel->lower(), QStringLiteral("0021"));
    QVERIFY(f.w().design().controls().nextJobLine->text().startsWith(QStringLiteral("次: 0021")));
}

void TestRegistryWindow::aFrozenServerHoldsTheJobNoLongerThanItsDeadline()
{
    // The server stops answering as the user presses Print: the window goes
    // on painting while it waits, the job ends at registry_timeout with
    // nothing printed, and the folder is free again.
    PostgresServer server;
    if (!server.isReady())
        QSKIP(qPrintable(server.skipReason()));
    MainFixture f;
    QFile conf(f.dir.path() + "/rondelmaker.conf");
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write("registry=" + server.url().toUtf8() + "\nregistry_timeout=2\n");
    conf.close();
    f.window = std::make_unique<MainWindow>(f.dialogs, f.dir.path(), fixedNow);
    f.w().show();
    QTest::mouseClick(f.w().design().controls().printSetButton, Qt::LeftButton);
    const QString pdf = f.dir.path() + "/labels.pdf";
    f.dialogs.printerAnswer = [pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    int ticks = 0;
    QTimer clock;
    connect(&clock, &QTimer::timeout, &clock, [&ticks] { ++ticks; });
    clock.start(100);
    {
        const ServerFreeze frozen(server, 30000);
        QTest::mouseClick(f.w().printScreen().controls().printButton, Qt::LeftButton);
    }
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
    QVERIFY(!QFile::exists(pdf));
    QVERIFY2(f.dialogs.texts("error").value(0).contains(QStringLiteral("2 秒")),
             qPrintable(f.dialogs.texts("error").value(0)));
    RunFiles folder(f.dir.path());
    QString error;
    QVERIFY2(folder.lock(&error, 0), qPrintable(error));
}

QTEST_MAIN(TestRegistryWindow)
#include "tst_registrywindow.moc"
