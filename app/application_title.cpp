#include "app/application_title.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace app {

QString ApplicationTitleOf(const QString& executablePath)
{
    QString name = QFileInfo(executablePath).fileName();
    name.truncate(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
    return name.left(1) + name.mid(1).toLower();
}

QString ApplicationTitle()
{
    return ApplicationTitleOf(QCoreApplication::applicationFilePath());
}

}  // namespace app
