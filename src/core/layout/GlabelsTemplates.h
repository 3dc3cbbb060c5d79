#pragma once

#include "core/layout/Sheet.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringView>

#include <optional>

// The round label sheets of the gLabels template database (Debian's
// glabels-data). A template is read where its first label is a
// Label-round with a radius and one or more Layout grids; its paper comes
// from paper-sizes.xml by its `size`, or from its own width and height. A
// template with `equiv` copies an earlier one of the same brand. Other
// shapes are passed over, and so is a template or a file that cannot be
// read: the rest of the database stays usable.
namespace GlabelsTemplates {

inline constexpr const char* SystemDir = "/usr/share/libglabels-3.0/templates";

struct Template {
    QString brand;
    QString part;
    QString description;
    // Named "brand part", measured from the paper's corner. Not yet checked
    // against Sheet::problem().
    Sheet sheet;
};

// A length as gLabels writes it: a number with pt, in, mm, cm or pc, or a
// bare number of points; nullopt when it is none of these.
std::optional<double> lengthMm(QStringView text);

// Paper sizes by their id ("A4", "US-Letter", ...), in mm.
using PaperSizes = QHash<QString, QSizeF>;
PaperSizes readPaperSizes(const QByteArray& xml);

// Appends one file's round templates to `known`, whose earlier templates
// `equiv` may name. A file that is not well-formed adds nothing and returns
// false.
bool readTemplates(const QByteArray& xml, const PaperSizes& papers, QList<Template>& known);

// Every round template of the "*-templates.xml" files of `dir`, in the
// order of their file names and then of the files; nothing when the folder
// is missing.
QList<Template> readDirectory(const QString& dir);

} // namespace GlabelsTemplates
