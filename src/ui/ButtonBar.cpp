#include "ui/ButtonBar.h"

#include "ui/Controls.h"
#include "ui/MainWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>

namespace {

QToolButton* makeButton(QWidget* client, const char* name, QStyle::StandardPixmap icon)
{
    auto* button = new QToolButton(client);
    Controls::name(button, name);
    button->setIcon(client->style()->standardIcon(icon));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setGeometry(8, 8, 65, 65);
    return button;
}

} // namespace

ButtonBar::ButtonBar(QWidget* client, MainControls& controls) : m_c(controls)
{
    m_c.titleBanner = Controls::label(client, "titleBanner", QString(), 416, 8);
    m_c.titleBanner->setFont(Controls::gothic(32, true, true));
    m_c.subtitleBanner = Controls::label(client, "subtitleBanner", QString(), 536, 56);
    m_c.subtitleBanner->setFont(Controls::gothic(24, true, true));
    for (QLabel* banner : {m_c.titleBanner, m_c.subtitleBanner})
        Controls::setFontColor(banner, QColor(0, 0, 255));

    m_c.versionButton = makeButton(client, "versionButton", QStyle::SP_MessageBoxInformation);
    m_c.excelButton = makeButton(client, "excelButton", QStyle::SP_DialogSaveButton);
    m_c.reportButton = makeButton(client, "reportButton", QStyle::SP_FileDialogDetailedView);
    m_c.backButton = makeButton(client, "backButton", QStyle::SP_ArrowBack);
    m_c.endButton = makeButton(client, "endButton", QStyle::SP_DialogCloseButton);
    m_c.historyButton = makeButton(client, "historyButton", QStyle::SP_FileDialogContentsView);
    m_c.endButton->move(80, 8);
    for (QToolButton* button : {m_c.excelButton, m_c.reportButton, m_c.backButton})
        button->hide();

    // Which registry of issued labels this station uses, along the bottom.
    m_c.registryLine = Controls::label(client, "registryLine", QString(), 8, client->height() - 22,
                                       client->width() - 16, 20);
    m_c.registryLine->setFont(Controls::gothic(12, false));
    Controls::setFontColor(m_c.registryLine, QColor(96, 96, 96));

    m_c.typePageTabs = new QTabBar(client);
    Controls::name(m_c.typePageTabs, "typePageTabs");
    for (int page = 0; page < 3; ++page)
        m_c.typePageTabs->addTab(QString());
    m_c.typePageTabs->setGeometry(104, 88, 289, 33);
    m_c.typePageTabs->setExpanding(false);
}

void ButtonBar::retranslate()
{
    Controls::setCaption(m_c.titleBanner, MainWindow::tr("Rondelmaker Manager　"));
    Controls::setCaption(m_c.subtitleBanner, MainWindow::tr("Round Label Printing System"));

    m_c.versionButton->setText(MainWindow::tr("Version"));
    m_c.excelButton->setText(MainWindow::tr("Excel"));
    m_c.excelButton->setAccessibleDescription(
        MainWindow::tr("前回の印刷を Excel のファイルに書き出します"));
    m_c.reportButton->setText(MainWindow::tr("Report"));
    m_c.reportButton->setAccessibleDescription(
        MainWindow::tr("前回の印刷の記録を A4 の用紙に印刷します"));
    m_c.backButton->setText(MainWindow::tr("Back"));
    m_c.backButton->setAccessibleDescription(MainWindow::tr("デザイン画面に戻ります"));
    m_c.endButton->setText(MainWindow::tr("End"));
    m_c.historyButton->setText(MainWindow::tr("履歴"));
    m_c.historyButton->setAccessibleDescription(
        MainWindow::tr("これまでに印刷したラベルの記録を開きます"));

    m_c.typePageTabs->setAccessibleName(MainWindow::tr("ラベルの種類"));
    m_c.typePageTabs->setTabText(0, MainWindow::tr("Type1-4"));
    m_c.typePageTabs->setTabText(1, MainWindow::tr("Type5-8"));
    m_c.typePageTabs->setTabText(2, MainWindow::tr("Type9-12"));
    // Qt names the tabs' scroll buttons once, as it makes them: named again
    // by Qt's own translation.
    const char* const tabBarTexts = "QTabBar";
    const std::pair<const char*, const char*> scrollButtons[] = {
        {"ScrollLeftButton", "Scroll Left"}, {"ScrollRightButton", "Scroll Right"}};
    for (const auto& [name, text] : scrollButtons) {
        if (auto* button = m_c.typePageTabs->findChild<QToolButton*>(QLatin1String(name)))
            button->setAccessibleName(QCoreApplication::translate(tabBarTexts, text));
    }
}

void ButtonBar::arrange(bool printScreen, bool lastJob)
{
    QList<QToolButton*> row;
    if (lastJob)
        row << m_c.excelButton << m_c.reportButton;
    row << m_c.historyButton;
    if (printScreen)
        row << m_c.backButton;
    row << m_c.endButton;
    for (QToolButton* button :
         {m_c.excelButton, m_c.reportButton, m_c.historyButton, m_c.backButton, m_c.endButton}) {
        const qsizetype at = row.indexOf(button);
        button->setVisible(at >= 0);
        if (at >= 0)
            button->move(80 + 72 * int(at), 8);
    }
}
