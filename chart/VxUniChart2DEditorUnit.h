// Editing the elements of a chart in their editor windows.
//
// Every editor follows one sequence: it is created with the element as its
// owner, given the element as its target, shown modally and, when the user
// leaves it with OK, applied; then it is released.  Double clicks on a text
// box, the plotting field or an axis whose AutoEditable is on run that
// sequence once the editors are installed (VxChartInstallEditors).
//
// The modal step goes through a replaceable hook so that tests (and programs
// that want another kind of showing) can drive an editor without blocking.
//
// The helpers below are shared by the three editor windows: the small integer
// edits, the value edits, colour swatches and the panel a preview lies on.
#pragma once

#include <QColor>
#include <QDialog>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QFrame;
class QLineEdit;
class VxChartBaseAxisClass;
class VxChartBaseLinesClass;
class VxChartBaseTextClass;

// ---------------------------------------------------------------------------
// The editor windows' common part: the target element, and the controls
// filled from it each time the window is shown by the program.

class VxChartEditWindow : public QDialog
{
    Q_OBJECT
public:
    explicit VxChartEditWindow(QWidget *owner = nullptr) : QDialog(owner) {}

    // The element to edit; an element of the wrong kind is kept but not
    // edited.
    void SetTarget(QWidget *target) { m_target = target; }
    QWidget *Target() const { return m_target.data(); }

protected:
    void showEvent(QShowEvent *e) override;
    // Fills the controls and the preview from the target.
    virtual void FormActivate() = 0;

private:
    QPointer<QWidget> m_target;
};

// ---------------------------------------------------------------------------
// The editing sequence

// Shows an editor modally and returns its result (QDialog::Accepted or
// QDialog::Rejected).  The default runs QDialog::exec.
using VxChartEditorExecHook = std::function<int(QDialog &)>;

// Installs another modal step; an empty hook goes back to QDialog::exec.
// Returns the hook installed before.
VxChartEditorExecHook VxChartSetEditorExec(VxChartEditorExecHook hook);

// Runs the installed modal step on a dialog.
int VxChartExecEditor(QDialog &dialog);

// The sequence for one editor window type.  Window needs a constructor
// taking the owner, SetTarget(QWidget *) and Apply().  Returns true when the
// editor was left with OK and applied.
template <class Window> bool VxChartRunEditor(QWidget &element)
{
    QPointer<Window> window = new Window(&element);
    window->SetTarget(&element);
    const int result = VxChartExecEditor(*window);
    // The element (and with it the window it owns) may have gone meanwhile.
    if (!window)
        return false;
    const bool applied = result == QDialog::Accepted;
    if (applied)
        window->Apply();
    delete window.data();
    return applied;
}

// The three editors of a chart's elements.
bool VxChartEditTextBox(VxChartBaseTextClass &box);
bool VxChartEditPlottingField(VxChartBaseLinesClass &field);
bool VxChartEditAxis(VxChartBaseAxisClass &axis);

// Makes double clicks on text boxes, plotting fields and axes open their
// editors (for elements whose AutoEditable is on).  Idempotent.
void VxChartInstallEditors();

// ---------------------------------------------------------------------------
// Helpers of the editor windows

// The small integer edits: the text read as a whole number, 0 when it is
// not one (empty, letters, a fraction, out of the int range).
int VxChartNormaliseInt(const QString &text);

// Normalises an integer edit after the user typed in it: rewrites the text
// when it does not already read as the number (letters become "0"), and
// returns the number.
int VxChartNormaliseIntEdit(QLineEdit &edit);

// Byte properties (point size, tick counts) take 0 ... 255; below 0 is 0.
int VxChartClampByte(int v);

// The value edits of the axis editor: numbers are read and written in the
// regional format (QLocale()) without thousands separators, written in
// general notation with 15 significant digits.  Reading gives nothing for
// text that is not a finite number.
std::optional<double> VxChartReadValue(const QString &text);
QString VxChartValueText(double v);

// A small framed colour sample beside a colour button.
QFrame *VxChartMakeSwatch(QWidget *parent);
void VxChartSetSwatch(QFrame *swatch, const QColor &color);
QColor VxChartSwatchColor(const QFrame *swatch);

// The panel an editor's preview element lies on: filled with the chart
// panel's default colour, ignoring the element's chart notifications.
class VxChartPreviewPanel : public QWidget
{
    Q_OBJECT
public:
    explicit VxChartPreviewPanel(QWidget *parent = nullptr);

    // Sizes the panel to hold the element with a margin on every side (at
    // least the given minimum) and centres the element on it.
    void Fit(QWidget *element, QSize minimum, int margin = 10);

protected:
    bool event(QEvent *e) override;
};
