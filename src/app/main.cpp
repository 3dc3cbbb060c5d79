#include "core/render/Fonts.h"
#include "ui/QtDialogs.h"
#include "ui/TfrmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rondelmaker"));
    QApplication::setApplicationDisplayName(QStringLiteral("Rondelmaker"));
    QApplication::setApplicationVersion(QStringLiteral("1.03"));
    installFontSubstitutions();

    QtDialogs dialogs;
    TfrmMain window(dialogs, QCoreApplication::applicationDirPath());
    QObject::connect(&window, &TfrmMain::windowClosed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // Without a usable start file the window closes by itself unshown.
    if (!window.state().CloseRequested)
        window.show();
    return app.exec();
}
