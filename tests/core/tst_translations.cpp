#include "core/i18n/UiLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

QString sourceDir()
{
    return qEnvironmentVariable("RONDEL_SOURCE_DIR");
}

struct Entry {
    QString context;
    QString source;
    QString type;             // "", "unfinished", "vanished", "obsolete"
    QStringList translations; // one text; numerus forms run together
};

QList<Entry> readTs(const QString& path)
{
    QList<Entry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QXmlStreamReader xml(&file);
    QString context;
    Entry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("message"))
            entry = Entry{context, {}, {}, {}};
        else if (xml.name() == QLatin1String("source"))
            entry.source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            entry.type = xml.attributes().value(QLatin1String("type")).toString();
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            entry.translations = {text};
            entries << entry;
        }
    }
    return entries;
}

// The place markers a text fills in: %1..%99 and %n.
QStringList markers(const QString& text)
{
    static const QRegularExpression marker(QStringLiteral("%(\\d+|n)"));
    QStringList found;
    for (const QRegularExpressionMatch& m : marker.globalMatch(text))
        found << m.captured(0);
    found.sort();
    found.removeDuplicates();
    return found;
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyTextIsTranslated();
    void systemLanguage_data();
    void systemLanguage();
    void englishIsBuiltIn();
};

// The texts of the program as lupdate finds them now, merged into a copy of
// the translation: a text new in the program is unfinished there, a text
// gone from it obsolete.
void TestTranslations::everyTextIsTranslated()
{
    QTemporaryDir dir;
    const QString ts = dir.filePath(QStringLiteral("rondelmaker_en.ts"));
    QVERIFY(QFile::copy(sourceDir() + QStringLiteral("/translations/rondelmaker_en.ts"), ts));
    QFile::setPermissions(ts, QFile::ReadOwner | QFile::WriteOwner);
    QProcess lupdate;
    lupdate.setWorkingDirectory(sourceDir());
    lupdate.start(QStringLiteral(RONDEL_LUPDATE),
                  {QStringLiteral("-locations"), QStringLiteral("none"),
                   QStringLiteral("-source-language"), QStringLiteral("ja"),
                   QStringLiteral("-target-language"), QStringLiteral("en"), QStringLiteral("src"),
                   QStringLiteral("-ts"), ts});
    QVERIFY(lupdate.waitForFinished(120000));
    QCOMPARE(lupdate.exitCode(), 0);

    const QList<Entry> entries = readTs(ts);
    QVERIFY(entries.size() > 100);
    QStringList problems;
    for (const Entry& e : entries) {
        const QString where = e.context + QStringLiteral(" \"") + e.source + QLatin1Char('"');
        if (e.type == QLatin1String("unfinished"))
            problems << QStringLiteral("untranslated: ") + where;
        else if (e.type == QLatin1String("vanished") || e.type == QLatin1String("obsolete"))
            problems << QStringLiteral("no longer in the program: ") + where;
        else if (e.translations.join(QString()).trimmed().isEmpty())
            problems << QStringLiteral("empty translation: ") + where;
        else if (markers(e.translations.join(QString())) != markers(e.source))
            problems << QStringLiteral("place markers differ: ") + where;
    }
    if (!problems.isEmpty())
        QFAIL(qPrintable(QStringLiteral("translations/rondelmaker_en.ts is not up to date "
                                        "(scripts/update-translations, then translate):\n") +
                         problems.join(QLatin1Char('\n'))));
}

void TestTranslations::systemLanguage_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<UiLanguage>("expected");
    const auto ja = UiLanguage::Japanese;
    const auto en = UiLanguage::English;
    QTest::newRow("C locale") << QStringList{QStringLiteral("C")} << ja;
    QTest::newRow("nothing") << QStringList{} << ja;
    QTest::newRow("Japanese") << QStringList{QStringLiteral("ja-JP"), QStringLiteral("ja")} << ja;
    QTest::newRow("English") << QStringList{QStringLiteral("en-US")} << en;
    QTest::newRow("German") << QStringList{QStringLiteral("de-DE")} << en;
    QTest::newRow("French before Japanese")
        << QStringList{QStringLiteral("fr"), QStringLiteral("ja")} << en;
    QTest::newRow("Javanese is not Japanese") << QStringList{QStringLiteral("jv-ID")} << en;
}

void TestTranslations::systemLanguage()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(UiLanguage, expected);
    QCOMPARE(UiLanguages::ofSystem(uiLanguages), expected);
}

void TestTranslations::englishIsBuiltIn()
{
    const char* text = "ラベルプリント記録";
    QCOMPARE(UiLanguages::apply(UiLanguage::English), UiLanguage::English);
    QCOMPARE(QCoreApplication::translate("PrintRecord", text),
             QStringLiteral("Label print record"));
    QCOMPARE(UiLanguages::apply(UiLanguage::Japanese), UiLanguage::Japanese);
    QCOMPARE(QCoreApplication::translate("PrintRecord", text), QString::fromUtf8(text));
    for (const char* key : {"auto", "ja", "en"})
        QCOMPARE(UiLanguages::key(*UiLanguages::fromKey(QString::fromLatin1(key))),
                 QString::fromLatin1(key));
    QVERIFY(!UiLanguages::fromKey(QStringLiteral("fr")));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
