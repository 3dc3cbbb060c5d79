#include "core/i18n/UiLanguage.h"
#include "core/io/StateLocation.h"
#include "core/render/Fonts.h"
#include "ui/Controls.h"
#include "ui/MainWindow.h"
#include "ui/QtDialogs.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rondelmaker"));
    QApplication::setApplicationDisplayName(QStringLiteral("Rondelmaker"));
    QApplication::setApplicationVersion(QStringLiteral("1.03"));
    // Desktops match the window to its menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.rondelmaker.Rondelmaker"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("io.github.rondelmaker.Rondelmaker")));
    installFontSubstitutions();
    // The window's font, for the dialogs and message boxes too.
    QApplication::setFont(Controls::gothic(15, false));
    // The system's language until the window reads the user's choice.
    UiLanguages::apply(UiLanguage::Automatic);

    QtDialogs dialogs;
    // An installed program keeps its files in the user's configuration
    // folder, and says so the first time.
    const StateLocation::Result location =
        StateLocation::decide(StateLocation::Inputs::ofThisProgram());
    if (!location.error.isEmpty())
        dialogs.error(nullptr, location.error);
    else if (location.created)
        dialogs.message(nullptr, StateLocation::createdNotice(),
                        StateLocation::createdDetail(location));
    MainWindow window(dialogs, location.dir);
    QObject::connect(&window, &MainWindow::windowClosed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // Without a usable start file the window closes by itself unshown.
    if (!window.state().closeRequested)
        window.show();
    return app.exec();
}
