#include "shellwindowtheme.h"

#include "environment.h"
ShellWindowTheme ShellWindowTheme::mainWindow()
{
    ShellWindowTheme t;
    t.frameImage = themed(QStringLiteral("theme/windows/main/frame.png"));
    t.frameLeft = t.frameTop = t.frameRight = t.frameBottom = 32;
    t.captionLeft = 4;
    t.captionTop = 5;
    t.captionRight = 9;
    t.captionBottom = 17;
    t.captionFontFamily = QStringLiteral("Tahoma");
    t.captionStyle = packCaptionStyle(11, true, false, QColor(95, 67, 43));
    t.headImage = themed(QStringLiteral("theme/windows/main/bg_head.jpg"));
    t.bodyImage = themed(QStringLiteral("theme/windows/main/bg_body1.jpg"));
    t.gripSize = 15;
    t.captionIndent = 20;
    return t;
}

static ShellWindowTheme authFrame(const QColor &captionColour)
{
    ShellWindowTheme t;
    t.frameImage = themed(QStringLiteral("theme/windows/auth/frame.png"));
    t.frameLeft = 2;
    t.frameTop = 35;
    t.frameRight = 2;
    t.frameBottom = 2;
    t.captionLeft = 4;
    t.captionTop = 5;
    t.captionRight = 4;
    t.captionBottom = 17;
    t.captionFontFamily = QStringLiteral("Tahoma");
    t.captionStyle = ShellWindowTheme::packCaptionStyle(11, true, false, captionColour);
    t.bodyImage = themed(QStringLiteral("theme/windows/auth/bg_body.jpg"));
    t.gripSize = 8;
    t.captionIndent = 8;
    return t;
}

ShellWindowTheme ShellWindowTheme::signInWindow()
{
    return authFrame(Qt::white);
}

ShellWindowTheme ShellWindowTheme::materialWindow()
{
    return authFrame(Qt::black);
}
