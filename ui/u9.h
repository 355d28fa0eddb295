// The xy compare window (TForm9): the current case computed with constant
// properties and with temperature-dependent ones, the key results side by
// side, both temperature histories and the current in one chart, the
// properties used with every warning, and the printed page (TForm10).  The
// temperature-dependent run goes on a worker thread with a progress bar
// and a Cancel button.  The rz window TForm9a (u9a) shares CompareForm
// with it.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "ui/CompareRun.h"
#include "ui/Comparison.h"
#include "ui/Desktop.h"
#include "ui/u10.h"

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTableWidget;
class TVxUniChart2D;

namespace resheat::ui {

struct Program;

// What both compare windows have in common.  A window is modeless; hiding
// it shows the main window again.  Every showing starts from the case's
// own property table (built-in for its material, else its constant
// properties) and that table's emissivity, and runs both models.
class CompareForm : public QDialog {
    Q_OBJECT
public:
    ~CompareForm() override;

    QTableWidget *StringGrid1 = nullptr;   // key results: name, constant, temperature-dependent
    TVxUniChart2D *VxUniChart2D1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;       // properties used, warnings, stop messages
    QLabel *Label1 = nullptr;              // "Emissivity [-]"
    QLineEdit *Edit1 = nullptr;            // the emissivity
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *Label2 = nullptr;              // what the run is doing or how it ended
    QPushButton *Button1 = nullptr;        // "Close"
    QPushButton *Button2 = nullptr;        // "Print"
    QPushButton *Button3 = nullptr;        // "Load property table..."
    QPushButton *Button4 = nullptr;        // "Cancel"
    QPushButton *Button5 = nullptr;        // "Calculate"
    // The inputs of the next run and its commands, along the top.
    QHBoxLayout *InputRow = nullptr;

    FileDialogState OpenDialogcsv{QStringLiteral("property table|*.csv"), QStringLiteral("csv"), {}};

    // Event handlers.
    void FormShow();
    void FormHide();
    void Button1Click();   // Close
    void Button2Click();   // Print
    void Button3Click();   // Load property table...
    void Button4Click();   // Cancel
    void Button5Click();   // Calculate
    void Edit1Exit();      // the emissivity box is left or Enter is pressed in it

    bool Running() const { return m_run.running(); }
    // The outcome shown and the properties it was computed with.
    const Comparison &ShownComparison() const { return m_shown; }
    const PropertyTable &ShownTable() const { return m_shownTable; }
    // The properties and the emissivity the next run uses.
    const PropertyTable &Table() const { return m_table; }
    double Emissivity() const { return m_emissivity; }
    const TForm10 &Report() const { return m_report; }

    // The computation of a run, on the worker thread; tests wrap it.
    std::function<Comparison(const CompareCase &, const PropertyTable &, const RefinedOptions &)> compute =
        RunComparison;

protected:
    CompareForm(Program &program, QWidget *parent);

    virtual QString caption() const = 0;
    virtual CompareCase currentCase() const = 0;
    virtual QString material() const = 0;
    // The case for the printed page: names and formatted values.
    virtual QStringList inputNames() const = 0;
    virtual QStringList inputValues() const = 0;

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    QSize sizeHint() const override;

    // A labelled input box of the next run, after those along the top and
    // before the commands, in the same tab order; the label's '&' letter
    // reaches the box.
    void addInput(QLabel *label, QLineEdit *box);

    Program &m_program;

private:
    void setUpChart();
    void startRun();
    void runFinished();
    void setRunning(bool running);
    void showComparison();
    void fillTable();
    void fillChart();
    // The legend in the chart's top right corner, the field below it, the
    // axis captions beside the axes' labels.
    void placeChartElements();
    void placeField(const QRect &place);
    // The minimum size the content needs, as far as the screen holds it
    // (the content scrolls on a smaller one), and the first size.
    void fitToScreen();
    void clearResults();
    void setEmissivity(double emissivity);
    void runGuarded(const std::function<void()> &handler);

    QWidget *m_content = nullptr;      // everything, inside the scroll area
    QScrollArea *m_scroll = nullptr;
    std::vector<QLineEdit *> m_inputs; // along the top, in tab order
    QWidget *m_focusBeforeRun = nullptr;
    bool m_sized = false;
    CompareRun m_run;
    PropertyTable m_table;          // for the next run
    double m_emissivity = 0;        // for the next run
    PropertyTable m_runTable;       // of the run in progress
    Comparison m_shown;             // the last outcome shown
    PropertyTable m_shownTable;     // its properties
    bool m_hasShown = false;
    QString m_shownEmissivity;      // the text of Edit1 that has been dealt with
    QString m_refusedEmissivity;    // the last text refused with a message
    TForm10 m_report;
};

class TForm9 : public CompareForm {
    Q_OBJECT
public:
    explicit TForm9(Program &program, QWidget *parent = nullptr);

protected:
    QString caption() const override;
    CompareCase currentCase() const override;
    QString material() const override;
    QStringList inputNames() const override;
    QStringList inputValues() const override;
};

} // namespace resheat::ui
