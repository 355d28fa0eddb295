// The axis editor ("Edit The Axis Properties").
//
// A preview axis of the target's length and kind is edited live; Apply (run
// after OK) copies its properties into the target axis, which keeps its own
// place on the chart.  Cancel leaves the target as it was.
//
// The begin and end values are read when Enter is pressed in their edits or
// the edits are left: in the regional number format, then rewritten in
// general notation with 15 significant digits.  Text that is not a finite
// number is not taken: the edit shows the preview's value again.
#pragma once

#include "chart/VxUniChart2DEditorUnit.h"

class QLineEdit;
class QPushButton;
class QScrollArea;
class VxChartBaseAxisClass;

class TVxChartBaseAisEditWindow : public VxChartEditWindow
{
    Q_OBJECT
public:
    explicit TVxChartBaseAisEditWindow(QWidget *owner = nullptr);
    ~TVxChartBaseAisEditWindow() override;

    // Copies the preview's properties into the target axis, if it is one:
    // shifts, font, font colour, scale style, begin and end values, tick
    // counts, image list and colour.  The target's kind, length, position,
    // visibility and AutoEditable stay.
    void Apply();

    VxChartBaseAxisClass *Preview() const { return m_preview; }

    QLineEdit *Edit1 = nullptr;              // "Begin Shift ->"
    QLineEdit *Edit2 = nullptr;              // "End Shift ->"
    QLineEdit *Edit3 = nullptr;              // "Wanted Main Ticks ->"
    QLineEdit *Edit4 = nullptr;              // "Minor Ticks Number ->"
    QLineEdit *Edit5 = nullptr;              // "Begin Value->"
    QLineEdit *Edit6 = nullptr;              // "End Value ->"
    QPushButton *ButtonFont = nullptr;       // "font"
    QPushButton *ButtonFontColor = nullptr;  // "font color"
    QPushButton *ButtonColor = nullptr;      // "Color"
    QPushButton *ButtonOK = nullptr;         // "OK"
    QPushButton *ButtonCancel = nullptr;     // "Cancel"

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void FormActivate() override;
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    void Edit4Change();
    // Reads a value edit (Enter or leaving it).
    void Edit5Exit();
    void Edit6Exit();
    void ButtonFontClick();
    void ButtonFontColorClick();
    void ButtonColorClick();
    // Lays the preview on its panel the way the target lies on its chart:
    // labels on the same side of the axis line.
    void PlacePreview();

    VxChartPreviewPanel *m_panel = nullptr;
    QScrollArea *m_scroll = nullptr;
    VxChartBaseAxisClass *m_preview = nullptr;
    bool m_upperOrLeft = false; // the target lies in the upper (left) half
};
