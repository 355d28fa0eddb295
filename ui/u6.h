// The xy graphic results window (TForm6): the temperature history of one
// characteristic point of the rectangular charge as a chart with a table of
// the same numbers beside it, the point chosen with radio buttons, and the
// printed graphic (TForm7).  The rz window TForm6a (u6a) shares
// GraphicResultsForm with it.
#pragma once

#include "core/Records.h"

#include <QColor>
#include <QDialog>
#include <QString>
#include <QTableWidget>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QRadioButton;
class TVxUniChart2D;

namespace resheat::ui {

struct Program;
class GraphicReportForm;
class ImageBox;
class TForm7;

// The table of a graphic results window: a fixed heading row, the times in
// a fixed first column and the temperatures in the second.  Only the
// temperatures scroll sideways and can be selected; the times scroll down
// with their rows and never take the focus.  Cells are addressed as in a
// string grid, column 0 being the times and row 0 the heading row.  The
// copy key (Ctrl+C) puts the selected rows on the clipboard as lines of
// time and temperature separated by a tab.
class HistoryGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit HistoryGrid(QWidget *parent);

    // Rows including the heading row, columns including the time column.
    int RowCount() const { return rowCount() + 1; }
    void SetRowCount(int rows);
    int ColCount() const { return columnCount() + 1; }
    int ColWidths(int column) const;
    QString Cells(int column, int row) const;
    void SetCells(int column, int row, const QString &text);

    // The rows from the first to the last one with a selected temperature,
    // one line each: the time, a tab and the temperature when it is
    // selected.  Empty when nothing is selected.
    QString SelectedText() const;
    // Puts SelectedText on the clipboard; nothing happens without a selection.
    void CopySelection();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void updateGeometries() override;

private:
    class HeadingCell;
    // The heading of the time column, in the corner above it.
    HeadingCell *m_timeHeading = nullptr;
};

// One point the radio buttons offer.
struct PointChoice {
    QString radioCaption;   // "Temperature To"
    int column;             // column of the history row (1 = To)
    QString yCaption;       // "To [oC]"
    QColor lineColor;
    QColor pointColor;
    QColor errorColor;
};

// What both graphic results windows have in common.  A window is modeless;
// hiding it shows the main window again.
class GraphicResultsForm : public QDialog {
    Q_OBJECT
public:
    TVxUniChart2D *VxUniChart2D1 = nullptr;
    HistoryGrid *StringGrid1 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QRadioButton *RadioButton3 = nullptr;   // xy only
    ImageBox *Image1 = nullptr;
    QPushButton *Button1 = nullptr;         // "Close"
    QPushButton *Button2 = nullptr;         // "Print this graphic results"
    QLabel *Label1 = nullptr;               // "Classic formulas" for their results, hidden otherwise

    const std::vector<PointChoice> &choices() const { return m_choices; }
    // The radio button of choice `index` (0-based).
    QRadioButton *radioButton(int index) const;
    // The choice whose radio button is selected; -1 when none is.
    int selectedChoice() const;

    // Fills the table and the chart from one column of the history.
    void ShowPointHistory(int column, const QString &caption, const QColor &lineColor,
                          const QColor &pointColor, const QColor &errorColor);

    // Event handlers.
    void FormShow();
    void FormHide();
    void Button1Click();
    void Button2Click();
    void RadioButton1Click();
    void RadioButton2Click();

    // Puts the chart as a bitmap on the system clipboard (the chart's
    // CopyToClipboard); tests replace it to take the other path.
    std::function<void()> copyChartToClipboard;

protected:
    GraphicResultsForm(Program &program, GraphicReportForm &report, std::vector<PointChoice> choices,
                       const QString &sketch, int sketchWidth, QWidget *parent);

    virtual QString caption() const = 0;
    virtual const History &history() const = 0;
    // What the chart marks: the heating time of the results record and the
    // finish temperature of the case.
    virtual double heatingTime() const = 0;
    virtual double finishTemperature() const = 0;
    // The history comes from the classic formulas.
    virtual bool classicResults() const = 0;
    const ProgramState &programState() const;

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    // Shows the history of choice `index`, then repaints the window.
    void choiceClick(int index);

private:
    void setUpChart();
    // The axis captions beside their axes (x centred below its labels, y
    // centred left) and the legend in the field's emptiest corner.
    void placeCaptions();
    void runGuarded(const std::function<void()> &handler);

    Program &m_program;
    GraphicReportForm &m_report;
    std::vector<PointChoice> m_choices;
    std::vector<QRadioButton *> m_radios;
};

class TForm6 : public GraphicResultsForm {
    Q_OBJECT
public:
    TForm6(Program &program, TForm7 &report, QWidget *parent = nullptr);

    void RadioButton3Click();

protected:
    QString caption() const override;
    const History &history() const override;
    double heatingTime() const override;
    double finishTemperature() const override;
    bool classicResults() const override;
};

// The point choices of the windows, in radio button order.
std::vector<PointChoice> PointChoicesXY();
std::vector<PointChoice> PointChoicesRZ();

// A temperature table number: one decimal of the value rounded to five
// significant digits, scientific from 100000 on.
QString FormatTableNumber(double value);

// A caption as the user reads it: without the '&' that marks its Alt key.
QString WithoutMnemonic(const QString &caption);

} // namespace resheat::ui
