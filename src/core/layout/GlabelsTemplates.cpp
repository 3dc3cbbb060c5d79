#include "core/layout/GlabelsTemplates.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

#include <array>

namespace GlabelsTemplates {

namespace {

// The database's largest file is about 200 kB.
constexpr qint64 MaxFileSize = 8 * 1024 * 1024;
constexpr double MmPerPoint = 25.4 / 72;

struct Unit {
    const char* suffix;
    double mm;
};
constexpr std::array<Unit, 5> Units = {{
    {"pt", MmPerPoint},
    {"in", 25.4},
    {"mm", 1},
    {"cm", 10},
    {"pc", 12 * MmPerPoint},
}};

// A template's attributes and lengths, read one by one; a length or a
// number that cannot be read spoils the template.
class Attributes {
public:
    explicit Attributes(const QXmlStreamAttributes& attributes) : m_attributes(attributes) {}

    bool ok() const { return m_ok; }
    bool has(const char* name) const { return m_attributes.hasAttribute(QLatin1String(name)); }
    QString text(const char* name) const
    {
        return m_attributes.value(QLatin1String(name)).toString();
    }
    double length(const char* name)
    {
        const std::optional<double> mm = lengthMm(m_attributes.value(QLatin1String(name)));
        m_ok = m_ok && mm.has_value();
        return mm.value_or(0);
    }
    int count(const char* name)
    {
        bool read = false;
        const int n = m_attributes.value(QLatin1String(name)).toInt(&read);
        m_ok = m_ok && read;
        return n;
    }

private:
    QXmlStreamAttributes m_attributes;
    bool m_ok = true;
};

// The grids of a Label-round element, whose start the reader is at; it
// ends at the element's end.
QList<SheetGrid> readLayouts(QXmlStreamReader& xml, bool& ok)
{
    QList<SheetGrid> grids;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Layout")) {
            Attributes a(xml.attributes());
            SheetGrid grid;
            grid.columns = a.count("nx");
            grid.rows = a.count("ny");
            const double x0 = a.length("x0");
            const double y0 = a.length("y0");
            const double dx = a.length("dx");
            const double dy = a.length("dy");
            grid.first = {x0, y0};
            grid.pitch = {dx, dy};
            ok = ok && a.ok();
            grids << grid;
        }
        xml.skipCurrentElement();
    }
    return grids;
}

const Template* find(const QList<Template>& found, const QList<Template>& known,
                     const QString& brand, const QString& part)
{
    for (const QList<Template>* list : {&found, &known}) {
        for (const Template& t : *list) {
            if (t.brand == brand && t.part == part)
                return &t;
        }
    }
    return nullptr;
}

// The Template element whose start the reader is at, up to its end; nullopt
// for another shape or a template that cannot be read.
std::optional<Template> readTemplate(QXmlStreamReader& xml, const PaperSizes& papers,
                                     const QList<Template>& found, const QList<Template>& known)
{
    Attributes a(xml.attributes());
    Template t;
    t.brand = a.text("brand");
    t.part = a.text("part");
    if (t.brand.isEmpty() || t.part.isEmpty()) {
        // The older form names a template "brand part".
        const QString name = a.text("name").trimmed();
        t.brand = name.section(QLatin1Char(' '), 0, 0);
        t.part = name.section(QLatin1Char(' '), 1);
    }
    t.description = a.has("_description") ? a.text("_description") : a.text("description");

    if (a.has("equiv")) {
        xml.skipCurrentElement();
        const Template* original = find(found, known, t.brand, a.text("equiv"));
        if (!original || t.part.isEmpty())
            return std::nullopt;
        Template copy = *original;
        copy.part = t.part;
        copy.sheet.name = t.brand + QLatin1Char(' ') + t.part;
        return copy;
    }

    const QString size = a.text("size");
    if (papers.contains(size))
        t.sheet.paper = papers.value(size);
    else
        t.sheet.paper = {a.length("width"), a.length("height")};

    // gLabels uses the first label of a template; so does this reader.
    bool round = false;
    bool ok = a.ok() && !t.brand.isEmpty() && !t.part.isEmpty();
    bool labelSeen = false;
    while (xml.readNextStartElement()) {
        const bool label = xml.name().startsWith(QLatin1String("Label-"));
        if (label && !labelSeen && xml.name() == QLatin1String("Label-round")) {
            round = true;
            Attributes frame(xml.attributes());
            t.sheet.diameter = 2 * frame.length("radius");
            ok = ok && frame.ok();
            t.sheet.grids = readLayouts(xml, ok);
        } else {
            xml.skipCurrentElement();
        }
        labelSeen = labelSeen || label;
    }
    if (!round || !ok || t.sheet.grids.isEmpty())
        return std::nullopt;
    t.sheet.name = t.brand + QLatin1Char(' ') + t.part;
    t.sheet.origin = SheetOrigin::PaperCorner;
    return t;
}

} // namespace

std::optional<double> lengthMm(QStringView text)
{
    text = text.trimmed();
    double factor = MmPerPoint;
    for (const Unit& unit : Units) {
        if (text.endsWith(QLatin1String(unit.suffix))) {
            text = text.chopped(2).trimmed();
            factor = unit.mm;
            break;
        }
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value * factor;
}

PaperSizes readPaperSizes(const QByteArray& bytes)
{
    PaperSizes papers;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement ||
            xml.name() != QLatin1String("Paper-size"))
            continue;
        Attributes a(xml.attributes());
        const QSizeF size(a.length("width"), a.length("height"));
        if (a.ok())
            papers.insert(a.text("id"), size);
    }
    return xml.hasError() ? PaperSizes() : papers;
}

bool readTemplates(const QByteArray& bytes, const PaperSizes& papers, QList<Template>& known)
{
    QList<Template> found;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement ||
            xml.name() != QLatin1String("Template"))
            continue;
        std::optional<Template> t = readTemplate(xml, papers, found, known);
        // The first of two templates of one name is the one gLabels offers.
        if (t && !find(found, known, t->brand, t->part))
            found << *t;
    }
    if (xml.hasError())
        return false;
    known << found;
    return true;
}

namespace {

std::optional<QByteArray> readFile(const QString& path)
{
    QFile file(path);
    if (file.size() > MaxFileSize || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(MaxFileSize);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace

QList<Template> readDirectory(const QString& path)
{
    const QDir dir(path);
    PaperSizes papers;
    if (const std::optional<QByteArray> bytes = readFile(dir.filePath("paper-sizes.xml")))
        papers = readPaperSizes(*bytes);
    QList<Template> templates;
    const QStringList names = dir.entryList({QStringLiteral("*-templates.xml")},
                                            QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : names) {
        if (const std::optional<QByteArray> bytes = readFile(dir.filePath(name)))
            readTemplates(*bytes, papers, templates);
    }
    return templates;
}

} // namespace GlabelsTemplates
