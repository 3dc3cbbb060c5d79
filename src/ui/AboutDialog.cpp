#include "ui/AboutDialog.h"

#include "ui/Controls.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setFont(Controls::gothic(12, false));
    setFixedSize(273, 195);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("aboutPanel"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setGeometry(8, 8, 257, 143);

    auto* icon = new QToolButton(panel);
    Controls::name(icon, "programIcon", QStringLiteral("Rondelmaker"));
    icon->setIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    icon->setIconSize(QSize(32, 32));
    icon->setGeometry(8, 8, 44, 44);
    icon->setAutoRaise(true);

    m_productName = Controls::label(panel, "productName", QString(), 64, 12);
    m_version = Controls::label(panel, "version", QString(), 64, 36);
    m_copyright = Controls::label(panel, "copyright", QString(), 8, 84);
    m_comments = Controls::label(panel, "comments", QString(), 8, 108);

    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setGeometry(99, 160, 75, 27);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &AboutDialog::dismiss);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    retranslate();
}

void AboutDialog::retranslate()
{
    setWindowTitle(tr("バージョン情報"));
    Controls::setCaption(m_productName, tr("製品名　Rondelmaker"));
    Controls::setCaption(m_version, tr("バージョン　%1").arg(QStringLiteral("1.03")));
    Controls::setCaption(m_copyright, tr("Copyright © 2026 Rondelmaker"));
    Controls::setCaption(m_comments, tr("１１ｍφ円形ラベル印刷プログラム"));
    m_ok->setText(tr("OK"));
}

void AboutDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void AboutDialog::dismiss()
{
    hide();
    Q_EMIT hidden();
}

void AboutDialog::reject()
{
    dismiss();
}
