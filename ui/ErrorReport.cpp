#include "ui/ErrorReport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <exception>

#include "core/Errors.h"

namespace resheat::ui {

QString ApplicationTitle()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString FormatErrorReportText(const QString &message)
{
    if (message.isEmpty() || message.back() <= QLatin1Char('.'))
        return message;
    return message + QLatin1Char('.');
}

bool RunGuarded(Desktop &desktop, const std::function<void()> &command)
{
    QString message;
    try {
        command();
        return true;
    } catch (const ArithmeticFault &fault) {
        message = QString::fromStdString(fault.what());
    } catch (const IoError &error) {
        message = QString::fromStdString(error.what());
    } catch (const std::exception &error) {
        message = QString::fromLocal8Bit(error.what());
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    desktop.errorReport(ApplicationTitle(), FormatErrorReportText(message));
    return false;
}

} // namespace resheat::ui
