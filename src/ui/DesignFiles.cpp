#include "ui/DesignFiles.h"

#include "core/io/DesignFile.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/UserPaths.h"
#include "ui/WorkingState.h"

#include <QAction>
#include <QMenu>

DesignFiles::DesignFiles(QMenu* fileMenu, WorkingState& state, Dialogs& dialogs, QWidget* window,
                         std::function<bool()> busy)
    : QObject(window), m_state(state), m_dialogs(dialogs), m_window(window), m_busy(std::move(busy))
{
    m_open = fileMenu->addAction(QString());
    m_open->setObjectName(QStringLiteral("openAction"));
    m_open->setShortcut(QKeySequence::Open);
    connect(m_open, &QAction::triggered, this, &DesignFiles::openDesignFile);
    m_saveAs = fileMenu->addAction(QString());
    m_saveAs->setObjectName(QStringLiteral("saveAsAction"));
    m_saveAs->setShortcut(QKeySequence::SaveAs);
    connect(m_saveAs, &QAction::triggered, this, &DesignFiles::saveDesignAs);
}

void DesignFiles::addRecentDesigns(QMenu* fileMenu)
{
    fileMenu->addSeparator();
    for (int i = 0; i < MaxRecentDesigns; ++i) {
        QAction* recent = fileMenu->addAction(QString());
        recent->setObjectName(QStringLiteral("recentDesign%1").arg(i + 1));
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, [this, i] {
            if (i < m_state.recentDesigns.size())
                openDesign(m_state.recentDesigns[i]);
        });
        m_recent[size_t(i)] = recent;
    }
}

void DesignFiles::retranslate()
{
    m_open->setText(MainWindow::tr("開く…"));
    m_saveAs->setText(MainWindow::tr("名前を付けて保存…"));
}

void DesignFiles::showRecentDesigns()
{
    for (int i = 0; i < MaxRecentDesigns; ++i) {
        QAction* action = m_recent[size_t(i)];
        const bool shown = i < m_state.recentDesigns.size();
        action->setVisible(shown);
        if (shown) {
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(
                QFileInfo(m_state.recentDesigns[i]).fileName()));
            action->setToolTip(nativePath(m_state.recentDesigns[i]));
        }
    }
}

void DesignFiles::rememberDesign(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_state.recentDesigns.removeAll(absolute);
    m_state.recentDesigns.prepend(absolute);
    while (m_state.recentDesigns.size() > MaxRecentDesigns)
        m_state.recentDesigns.removeLast();
    showRecentDesigns();
}

bool DesignFiles::openDesign(const QString& path)
{
    if (m_busy())
        return false;
    QString problem;
    const std::optional<LabelDesign> design = DesignFile::load(path, &problem);
    if (!design) {
        m_dialogs.error(m_window, MainWindow::tr("デザインファイルを開けません。\n%1\n%2")
                                      .arg(nativePath(path), problem));
        return false;
    }
    m_state.design = *design;
    rememberDesign(path);
    Q_EMIT designOpened();
    return true;
}

void DesignFiles::openDesignFile()
{
    if (m_busy())
        return;
    const QString folder = m_state.recentDesigns.isEmpty()
                               ? documentsFolder()
                               : QFileInfo(m_state.recentDesigns.first()).absolutePath();
    if (const std::optional<QString> path =
            m_dialogs.chooseOpenFile(m_window, MainWindow::tr("ラベルデザイン (*.json)"), folder))
        openDesign(*path);
}

void DesignFiles::saveDesignAs()
{
    if (m_busy())
        return;
    const QString proposed = m_state.recentDesigns.isEmpty()
                                 ? QDir(documentsFolder()).filePath(QStringLiteral("design.json"))
                                 : m_state.recentDesigns.first();
    const std::optional<QString> chosen =
        m_dialogs.chooseSaveFile(m_window, MainWindow::tr("ラベルデザイン (*.json)"), proposed);
    if (!chosen)
        return;
    const QString path = chosen->endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)
                             ? *chosen
                             : *chosen + QStringLiteral(".json");
    if (QFileInfo::exists(path) &&
        !m_dialogs.askYesNo(m_window,
                            MainWindow::tr("同名のファイルがあります。重ねがきしますか？")))
        return;
    QString error;
    if (!DesignFile::save(path, m_state.design, &error)) {
        m_dialogs.error(m_window, MainWindow::tr("デザインファイルを保存できません。\n%1\n%2")
                                      .arg(nativePath(path), error));
        return;
    }
    rememberDesign(path);
}
