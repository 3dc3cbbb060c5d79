#include "core/io/StateFile.h"
#include "ui/NewSheetDialog.h"

#include "PdfTools.h"
#include "PrintScreenFixture.h"

#include <QComboBox>
#include <QDirIterator>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

// The station's label sheet chosen on the print screen, typed in, and
// followed by the map, the start and the printed page.
class TestSheetChoice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void theChosenSheetIsFollowed();
    void aTypedSheetIsSavedAndChosen();

private:
    QTemporaryDir m_config; // the user's sheets go here, not into the home folder
};

namespace {

QComboBox* sheetList(MainFixture& f)
{
    return f.w().findChild<QComboBox*>(QStringLiteral("sheetChoiceList"));
}

// Chooses the list's entry of this name with the keyboard, as a user does.
void chooseSheet(MainFixture& f, const QString& name)
{
    QComboBox* list = sheetList(f);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < list->count() && list->currentText() != name; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentText(), name);
}

StateFile::ReadResult savedState(MainFixture& f)
{
    return StateFile::read(StateFile::pathIn(f.dir.path()));
}

QString pageSize(const QString& pdf)
{
    QString error;
    const QString info = QString::fromUtf8(PdfTools::run("pdfinfo", {pdf}, error));
    return QRegularExpression("Page size:\\s+([^\\n]*)").match(info).captured(1);
}

} // namespace

void TestSheetChoice::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

void TestSheetChoice::theChosenSheetIsFollowed()
{
    PrintScreenFixture s("10,10,140\r\n\r\n");
    s.f.w().show();
    s.chooseSamples(30);
    s.printSet();

    // 30 labels from 140: two built-in sheets; one of 234 positions.
    QCOMPARE(s.pc.sheetList->count(), 2);
    chooseSheet(s.f, QStringLiteral("A4 · 12 mm · 13 × 18"));
    QCOMPARE(s.pc.sheetMap->sheet().positions(), 234);
    QVERIFY(s.pc.startRangeLine->text().contains(QStringLiteral("234")));
    QCOMPARE(s.pc.sheetList->count(), 1);
    QCOMPARE(s.pc.sheetMap->colorAt(139), QColor(128, 128, 128));
    QCOMPARE(s.pc.sheetMap->colorAt(169), QColor(255, 0, 0));
    QCOMPARE(s.pc.sheetMap->colorAt(170), QColor(255, 255, 255));
    QCOMPARE(savedState(s.f).state.sheet.id, QStringLiteral("shipped:a4-12mm-13x18"));

    // Printed on it, to a PDF of its paper.
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("labels.pdf"));
    s.f.dialogs.printerAnswer = [pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    QTest::mouseClick(s.pc.printButton, Qt::LeftButton);
    QCOMPARE(s.f.dir.startFile(), QByteArray("10,10,170\r\n\r\n"));
    QCOMPARE(s.f.state().lastJob->sheet.sheet.positions(), 234);
    QString error;
    QCOMPARE(PdfTools::pageCount(pdf, error), 1);

    // The Letter sheet has 80 positions: the start of 170 begins it afresh,
    // and the window says so.
    chooseSheet(s.f, QStringLiteral("US Letter · 19 mm · 8 × 10"));
    QCOMPARE(s.f.dir.startFile(), QByteArray("10,10,1\r\n\r\n"));
    QCOMPARE(s.pc.startPositionBox->value(), 1);
    QVERIFY(s.f.dialogs.texts("message").last().contains(QStringLiteral("170")));
    QTest::mouseClick(s.pc.printButton, Qt::LeftButton);
    QCOMPARE(pageSize(pdf), QStringLiteral("612 x 792 pts (letter)"));
}

void TestSheetChoice::aTypedSheetIsSavedAndChosen()
{
    PrintScreenFixture s;
    s.f.w().show();
    s.printSet();
    const auto typeIn = [&s]() {
        auto* dialog = s.f.w().findChild<NewSheetDialog*>();
        QVERIFY(dialog);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("sheetName"));
        auto* pitch = dialog->findChild<QDoubleSpinBox*>(QStringLiteral("sheetPitchX"));
        auto* save = dialog->findChild<QPushButton*>(QStringLiteral("sheetSave"));
        auto* problem = dialog->findChild<QLabel*>(QStringLiteral("sheetProblem"));
        QTest::keyClicks(name, QStringLiteral("Cryo 15"));
        // A pitch smaller than the disc is refused, by name.
        pitch->selectAll();
        QTest::keyClicks(pitch, QStringLiteral("10"));
        QVERIFY(!save->isEnabled());
        QVERIFY2(problem->text().contains(QStringLiteral("pitch.x")), qPrintable(problem->text()));
        pitch->selectAll();
        QTest::keyClicks(pitch, QStringLiteral("15"));
        QVERIFY(save->isEnabled());
        QTest::mouseClick(save, Qt::LeftButton);
    };
    QTimer::singleShot(0, this, typeIn);
    QTest::mouseClick(s.f.w().findChild<QPushButton*>(QStringLiteral("newSheetButton")),
                      Qt::LeftButton);
    QCOMPARE(sheetList(s.f)->currentText(), QStringLiteral("Cryo 15"));
    const SheetChoice kept = savedState(s.f).state.sheet;
    QCOMPARE(kept.sheet.name, QStringLiteral("Cryo 15"));
    QCOMPARE(kept.sheet.positions(), 13 * 18);
    QVERIFY(kept.id.startsWith(QStringLiteral("user:")));
    QDirIterator files(m_config.path(), {QStringLiteral("*.json")}, QDir::Files,
                       QDirIterator::Subdirectories);
    QVERIFY(files.hasNext());
}

QTEST_MAIN(TestSheetChoice)
#include "tst_sheetchoice.moc"
