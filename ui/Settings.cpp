#include "ui/Settings.h"

#include <QSettings>

namespace resheat::ui {

namespace {

const char *const kClassicFormulas = "calculations/classicFormulas";

QSettings Store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ResHeat"),
                     QStringLiteral("resheat"));
}

} // namespace

bool ReadClassicFormulas()
{
    return Store().value(QLatin1String(kClassicFormulas), false).toBool();
}

void WriteClassicFormulas(bool on)
{
    // A choice that cannot be stored (a read-only configuration folder) is
    // still in force for this run.
    Store().setValue(QLatin1String(kClassicFormulas), on);
}

} // namespace resheat::ui
