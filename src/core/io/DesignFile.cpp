#include "core/io/DesignFile.h"

// Placeholder until the file format is written.
namespace DesignFile {

QJsonObject toJson(const LabelDesign&)
{
    return {};
}

std::optional<LabelDesign> fromJson(const QJsonObject&, QString* error)
{
    *error = QStringLiteral("not yet");
    return std::nullopt;
}

QByteArray toBytes(const LabelDesign&)
{
    return {};
}

std::optional<LabelDesign> fromBytes(const QByteArray&, QString* error)
{
    *error = QStringLiteral("not yet");
    return std::nullopt;
}

std::optional<LabelDesign> load(const QString&, QString* error)
{
    *error = QStringLiteral("not yet");
    return std::nullopt;
}

bool save(const QString&, const LabelDesign&, QString* error)
{
    *error = QStringLiteral("not yet");
    return false;
}

} // namespace DesignFile
