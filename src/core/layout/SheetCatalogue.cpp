#include "core/layout/SheetCatalogue.h"

#include "core/layout/SheetFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

namespace {

constexpr QLatin1String Extension{".json"};

// Lower-case letters and digits, the rest as single hyphens: "Avery 5193"
// becomes "avery-5193".
QString slug(const QString& text)
{
    QString out;
    for (const QChar c : text.toLower()) {
        if (c.isLetterOrNumber())
            out += c;
        else if (!out.isEmpty() && !out.endsWith(QLatin1Char('-')))
            out += QLatin1Char('-');
    }
    while (out.endsWith(QLatin1Char('-')))
        out.chop(1);
    return out;
}

QString canonical(const QString& path)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() ? QFileInfo(path).absoluteFilePath() : real;
}

} // namespace

QString sourceName(SheetSource source)
{
    switch (source) {
    case SheetSource::BuiltIn:
        return QStringLiteral("builtin");
    case SheetSource::Shipped:
        return QStringLiteral("shipped");
    case SheetSource::Glabels:
        return QStringLiteral("glabels");
    case SheetSource::User:
        break;
    }
    return QStringLiteral("user");
}

SheetCatalogue::Places SheetCatalogue::Places::ofThisProgram(const QString& stateDir)
{
    Places places;
    places.userDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                     QStringLiteral("/sheets");
    places.stationDir = QDir(stateDir).filePath(QStringLiteral("sheets"));
    return places;
}

SheetCatalogue::SheetCatalogue(Places places) : m_places(std::move(places)) {}

QList<SheetEntry> SheetCatalogue::local()
{
    loadLocal();
    return m_local;
}

QList<SheetEntry> SheetCatalogue::all()
{
    loadLocal();
    loadGlabels();
    return m_local + m_glabels;
}

QStringList SheetCatalogue::refusals()
{
    loadLocal();
    return m_refusals;
}

void SheetCatalogue::loadLocal()
{
    if (m_localLoaded)
        return;
    m_localLoaded = true;
    m_local = {{QString(BuiltInId), SheetSource::BuiltIn, Sheet::builtIn(), {}, {}}};
    readFolder(m_places.shippedDir, QStringLiteral("shipped:"), SheetSource::Shipped);
    readFolder(m_places.userDir, QStringLiteral("user:"), SheetSource::User);
    // An installed program keeps its state in the user's folder: its sheets
    // are listed once.
    if (canonical(m_places.stationDir) != canonical(m_places.userDir))
        readFolder(m_places.stationDir, QStringLiteral("station:"), SheetSource::User);
}

void SheetCatalogue::readFolder(const QString& path, const QString& prefix, SheetSource source)
{
    if (path.isEmpty())
        return;
    const QDir dir(path);
    const QStringList names =
        dir.entryList({QStringLiteral("*.json")}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : names) {
        const QString file = dir.filePath(name);
        QString error;
        const std::optional<Sheet> sheet = SheetFile::load(file, &error);
        if (!sheet) {
            m_refusals << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file), error);
            continue;
        }
        m_local << SheetEntry{prefix + name.chopped(Extension.size()), source, *sheet, file, {}};
    }
}

void SheetCatalogue::loadGlabels()
{
    if (m_glabelsLoaded)
        return;
    m_glabelsLoaded = true;
    QHash<QString, int> taken;
    for (const GlabelsTemplates::Template& t :
         GlabelsTemplates::readDirectory(m_places.glabelsDir)) {
        if (!t.sheet.problem().isEmpty())
            continue;
        // Two names that differ only in punctuation keep apart by a number,
        // in the database's order.
        const QString base = QStringLiteral("glabels:") + slug(t.brand + QLatin1Char(' ') + t.part);
        const int seen = taken[base]++;
        const QString id = seen == 0 ? base : QStringLiteral("%1-%2").arg(base).arg(seen + 1);
        m_glabels << SheetEntry{id, SheetSource::Glabels, t.sheet, {}, t.description};
    }
}

std::optional<SheetEntry> SheetCatalogue::find(const QString& idOrPath, QString* error)
{
    const auto failed = [error](const QString& reason) {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    loadLocal();
    if (idOrPath.startsWith(QLatin1String("glabels:")))
        loadGlabels();
    for (const QList<SheetEntry>* entries : {&m_local, &m_glabels}) {
        for (const SheetEntry& entry : *entries) {
            if (entry.id == idOrPath)
                return entry;
        }
    }

    const QFileInfo file(idOrPath);
    if (!file.exists()) {
        return failed(QCoreApplication::translate("SheetCatalogue", "シート「%1」はありません。")
                          .arg(idOrPath));
    }
    const QString path = canonical(idOrPath);
    for (const SheetEntry& entry : std::as_const(m_local)) {
        if (!entry.path.isEmpty() && !entry.path.startsWith(QLatin1Char(':')) &&
            canonical(entry.path) == path)
            return entry;
    }
    QString reason;
    const std::optional<Sheet> sheet = SheetFile::load(idOrPath, &reason);
    if (!sheet)
        return failed(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason));
    return SheetEntry{path, SheetSource::User, *sheet, path, {}};
}

std::optional<SheetEntry> SheetCatalogue::saveUserSheet(const Sheet& sheet, QString* error)
{
    loadLocal();
    const QDir dir(m_places.userDir);
    if (!dir.mkpath(QStringLiteral("."))) {
        if (error)
            *error = QCoreApplication::translate("SheetCatalogue", "フォルダ %1 を作れません。")
                         .arg(QDir::toNativeSeparators(dir.absolutePath()));
        return std::nullopt;
    }
    QString stem = slug(sheet.name);
    if (stem.isEmpty())
        stem = QStringLiteral("sheet");
    QString name = stem;
    for (int n = 2; QFileInfo::exists(dir.filePath(name + Extension)); ++n)
        name = QStringLiteral("%1-%2").arg(stem).arg(n);
    const QString path = dir.filePath(name + Extension);
    if (!SheetFile::save(path, sheet, error))
        return std::nullopt;
    SheetEntry entry{QStringLiteral("user:") + name, SheetSource::User, sheet, path, {}};
    entry.sheet.origin = SheetOrigin::PaperCorner;
    m_local << entry;
    return entry;
}
