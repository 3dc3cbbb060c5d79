#include "ui/AboutDialog.h"

#include "ui/Controls.h"

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
    setWindowTitle(QStringLiteral("バージョン情報"));
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

    Controls::label(panel, "productName", QStringLiteral("製品名　Rondelmaker"), 64, 12);
    Controls::label(panel, "version", QStringLiteral("バージョン　1.03"), 64, 36);
    Controls::label(panel, "copyright", QStringLiteral("Copyright © 2026 Rondelmaker"), 8, 84);
    Controls::label(panel, "comments", QStringLiteral("１１ｍφ円形ラベル印刷プログラム"), 8, 108);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setGeometry(99, 160, 75, 27);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &AboutDialog::dismiss);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
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
