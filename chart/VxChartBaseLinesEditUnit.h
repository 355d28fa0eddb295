// The lines editor of a chart's plotting field ("Edit the Chart").
//
// Page "Colors/visibility" holds the field's grid and background colours,
// whether the grid is shown and whether the field is transparent; page
// "Lines properties" edits one column at a time of a private copy of the
// field's column list.  A preview field beside the pages draws the private
// copy with the chosen colours.  Apply (also run after OK) writes it all into
// the target field; Cancel leaves the target as it was.
#pragma once

#include <QColor>
#include "chart/VxUniChart2DEditorUnit.h"

class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QTabWidget;
class VxChartBaseLineArray;
class VxChartBaseLine;
class VxChartBaseLinesClass;

class TVxChartBaseLinesEditWindow : public VxChartEditWindow
{
    Q_OBJECT
public:
    explicit TVxChartBaseLinesEditWindow(QWidget *owner = nullptr);
    ~TVxChartBaseLinesEditWindow() override;

    // Writes into the target field, if it is one: ColorGridBorder,
    // ColorGridX, ColorGridY, ColorGridY2, Color, ShowGrid (the grid button
    // reads "Hide"), Transparent (the transparency button reads "Set
    // Opaque"), then its column list from the private copy.
    void Apply();

    // The private copy of the column list and the column being edited.
    VxChartBaseLineArray *Lines() const;
    int CurrentColumn() const;
    // The preview field that draws the private copy.
    VxChartBaseLinesClass *Preview() const { return m_preview; }

    // Controls of page "Colors/visibility".
    QTabWidget *PageControl1 = nullptr;
    QFrame *ShapeBorder = nullptr;            // swatch "Border ->"
    QPushButton *ButtonBorderColor = nullptr; // "Color"
    QFrame *ShapeX = nullptr;                 // swatch "X color"
    QPushButton *ButtonXColor = nullptr;      // "Color"
    QFrame *ShapeY = nullptr;                 // swatch "Y color"
    QPushButton *ButtonYColor = nullptr;      // "Color"
    QFrame *ShapeY2 = nullptr;                // swatch "Y2 color"
    QPushButton *ButtonY2Color = nullptr;     // "Color"
    QFrame *ShapeBack = nullptr;              // swatch "Back Color"
    QPushButton *ButtonBackColor = nullptr;   // "Color"
    QPushButton *ButtonGrid = nullptr;        // "Hide" (grid shown) / "Show"
    QPushButton *ButtonTransparent = nullptr; // "Set Transparent" (opaque) / "Set Opaque"

    // Controls of page "Lines properties".
    QComboBox *ComboBox1 = nullptr;           // the column selector
    QComboBox *ComboType = nullptr;           // "Type ->"
    QComboBox *ComboStyle = nullptr;          // "Style ->"
    QComboBox *ComboPointStyle = nullptr;     // "Point Style ->"
    QComboBox *ComboErrorStyle = nullptr;     // "Error style ->"
    QComboBox *ComboXPlusErr = nullptr;       // "X + Err Line"
    QComboBox *ComboXMinusErr = nullptr;      // "X - Err Line"
    QComboBox *ComboYPlusErr = nullptr;       // "Y + Err Line"
    QComboBox *ComboYMinusErr = nullptr;      // "Y - Err Line"
    QComboBox *ComboXLine = nullptr;          // "X line ->"
    QPushButton *ButtonPointColor = nullptr;  // "Point Color"
    QFrame *ShapePoint = nullptr;
    QPushButton *ButtonLineColor = nullptr;   // "Line Color"
    QFrame *ShapeLine = nullptr;
    QPushButton *ButtonErrColor = nullptr;    // "Err Color"
    QFrame *ShapeErr = nullptr;
    QLineEdit *EditPointSize = nullptr;       // "Point size :"
    QLineEdit *EditLineName = nullptr;        // "Line name"
    QLineEdit *EditListName = nullptr;        // "Line list name :"

    QPushButton *ButtonOK = nullptr;          // "OK"
    QPushButton *ButtonCancel = nullptr;      // "Cancel"
    QPushButton *ButtonApply = nullptr;       // "Apply"

private:
    void FormActivate() override;
    // Column captions of the selector and of the reference lists.
    void FillColumnLists();
    QString ColumnCaption(int i) const;
    // Shows the chosen column on page "Lines properties".
    void ComboBox1Change(int index);
    // Writes every control of page "Lines properties" into the column.
    void WriteColumn();
    VxChartBaseLine *Column() const;
    void ChooseFieldColor(QFrame *swatch);
    void ChooseColumnColor(int which);
    void ButtonGridClick();
    void ButtonTransparentClick();
    void ButtonApplyClick();
    // Shows the swatches and the two switches on the preview field.
    void UpdatePreviewField();

    VxChartPreviewPanel *m_panel = nullptr;
    VxChartBaseLinesClass *m_preview = nullptr;
    bool m_filling = false;
};
