#include <QApplication>
#include <QIcon>

#include <gtest/gtest.h>

// The views are real widgets on Qt's offscreen platform, with the application's Fusion style.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The application names a theme for type icons where the desktop names none.
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(QIcon::fallbackThemeName());
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    return RUN_ALL_TESTS();
}
