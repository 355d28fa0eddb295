#include "chart/VxUniChart2DEditorUnit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QShowEvent>

#include <cmath>

#include "chart/VxChartBaseAxisEditUnit.h"
#include "chart/VxChartBaseAxisUnit.h"
#include "chart/VxChartBaseLinesEditUnit.h"
#include "chart/VxChartBaseLinesUnit.h"
#include "chart/VxChartBaseMovingUnit.h"
#include "chart/VxChartBaseTextEditUnit.h"
#include "chart/VxChartBaseTextUnit.h"
#include "chart/VxChartMessages.h"

namespace {

VxChartEditorExecHook &ExecHook()
{
    static VxChartEditorExecHook hook;
    return hook;
}

} // namespace

void VxChartEditWindow::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormActivate();
}

// A program that links the editors gets them on double clicks as soon as its
// application object exists (after every static hook is constructed).
Q_COREAPP_STARTUP_FUNCTION(VxChartInstallEditors)

VxChartEditorExecHook VxChartSetEditorExec(VxChartEditorExecHook hook)
{
    VxChartEditorExecHook before = std::move(ExecHook());
    ExecHook() = std::move(hook);
    return before;
}

int VxChartExecEditor(QDialog &dialog)
{
    if (ExecHook())
        return ExecHook()(dialog);
    return dialog.exec();
}

bool VxChartEditTextBox(VxChartBaseTextClass &box)
{
    return VxChartRunEditor<TVxChartBaseTextEditWindow>(box);
}

bool VxChartEditPlottingField(VxChartBaseLinesClass &field)
{
    return VxChartRunEditor<TVxChartBaseLinesEditWindow>(field);
}

bool VxChartEditAxis(VxChartBaseAxisClass &axis)
{
    return VxChartRunEditor<TVxChartBaseAisEditWindow>(axis);
}

void VxChartInstallEditors()
{
    VxChartBaseTextClass::SetEditorHook([](VxChartBaseTextClass &box) { VxChartEditTextBox(box); });
    VxChartBaseLinesClass::EditorHook = [](VxChartBaseLinesClass *field) {
        if (field)
            VxChartEditPlottingField(*field);
    };
    VxChartBaseAxisClass::EditorHook = [](VxChartBaseAxisClass *axis) {
        if (axis)
            VxChartEditAxis(*axis);
    };
}

// ---------------------------------------------------------------------------
// Helpers

int VxChartNormaliseInt(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : 0;
}

int VxChartNormaliseIntEdit(QLineEdit &edit)
{
    const int v = VxChartNormaliseInt(edit.text());
    const QString normal = QString::number(v);
    // "-" alone or "+3" are not numbers as written: show what is taken.
    if (edit.text() != normal)
        edit.setText(normal);
    return v;
}

int VxChartClampByte(int v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

namespace {

// The regional format without thousands separators: "1000" and not
// "1,000", and "1,5" is no fifteen where the comma only groups digits.
QLocale ValueLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

} // namespace

std::optional<double> VxChartReadValue(const QString &text)
{
    bool ok = false;
    const double v = ValueLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString VxChartValueText(double v)
{
    return ValueLocale().toString(v, 'g', 15);
}

QFrame *VxChartMakeSwatch(QWidget *parent)
{
    auto *swatch = new QFrame(parent);
    swatch->setFrameShape(QFrame::Box);
    swatch->setFrameShadow(QFrame::Plain);
    swatch->setFixedSize(32, 18);
    swatch->setAutoFillBackground(true);
    return swatch;
}

void VxChartSetSwatch(QFrame *swatch, const QColor &color)
{
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window, color);
    swatch->setPalette(pal);
    swatch->setToolTip(color.name());
}

QColor VxChartSwatchColor(const QFrame *swatch)
{
    return swatch->palette().color(QPalette::Window);
}

VxChartPreviewPanel::VxChartPreviewPanel(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(160, 160, 160));
    setPalette(pal);
}

void VxChartPreviewPanel::Fit(QWidget *element, QSize minimum, int margin)
{
    if (!element)
        return;
    const QSize need(element->width() + 2 * margin, element->height() + 2 * margin);
    setFixedSize(need.expandedTo(minimum));
    const int left = (width() - element->width()) / 2;
    const int top = (height() - element->height()) / 2;
    if (auto *moving = qobject_cast<VxChartBaseMovingClass *>(element))
        moving->SetBounds(left, top, element->width(), element->height());
    else
        element->move(left, top);
}

bool VxChartPreviewPanel::event(QEvent *e)
{
    // The preview's notifications are meant for a chart; there is none here.
    if (vxChartMessage(e))
        return true;
    return QWidget::event(e);
}
