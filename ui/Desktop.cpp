#include "ui/Desktop.h"

#include <QFileInfo>

namespace resheat::ui {

QString WithDefaultExtension(const QString &fileName, const QString &defaultExt)
{
    if (fileName.isEmpty() || defaultExt.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    if (fileName.endsWith(QLatin1Char('.')))
        return fileName + defaultExt;
    return fileName + QLatin1Char('.') + defaultExt;
}

} // namespace resheat::ui
