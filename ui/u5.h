// The xy text results window (TForm5): every lumped result of the
// rectangular charge in a read-only box, the heating time box that re-runs
// the calculation with a typed time, and the printed results page (TForm8).
// The rz window TForm5a (u5a) shares TextResultsForm with it.
#pragma once

#include "core/Records.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace resheat::report { class ReportForm; }

namespace resheat::ui {

struct Program;
class TextReportForm;

// What both text results windows have in common.  A window is modeless;
// hiding it shows the main window again.
class TextResultsForm : public QDialog {
    Q_OBJECT
public:
    // One label and box pair of the table: box `Edit<edit>` under `Label<edit>`.
    struct Row {
        int edit;
        QString caption;
        int digits;      // significant digits of the value
        int column;      // 0 or 1
        int row;         // 0 to 5
    };

    // Box and label by their number (Edit7, Label7); nullptr when the window
    // has no such pair.
    QLineEdit *edit(int number) const;
    QLabel *label(int number) const;
    QPushButton *button1() const { return m_button1; }   // "Close"
    QPushButton *button2() const { return m_button2; }   // "Print results"
    // "Classic formulas" while the results shown come from them; hidden otherwise.
    QLabel *formulasLabel() const { return m_formulas; }
    const std::vector<Row> &rows() const { return m_rows; }

    // Event handlers.
    void FormShow();
    // The results record in the boxes (and whether they come from the
    // classic formulas).
    void showValues();
    void FormHide();
    void Button1Click();
    void Button2Click();
    void Edit7Exit();

protected:
    TextResultsForm(Program &program, std::vector<Row> rows, QWidget *parent);

    virtual QString caption() const = 0;
    // Values of the results record in table order.
    virtual std::vector<double> resultValues() const = 0;
    virtual double storedHeatingTime() const = 0;
    // The results come from the classic formulas.
    virtual bool classicResults() const = 0;
    // Runs the geometry's calculation with the fixed-time switch on and the
    // given user heating time, and sets the switch off again.
    virtual void rerun(double userTime) = 0;
    // Sets the report form's captions; returns the form to preview, or
    // nullptr when the program has none.
    virtual const report::ReportForm *fillReport() = 0;

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    // Sets the fixed-time switch on with the user heating time, runs, and
    // sets the switch off again, also when the run is abandoned by a fault.
    static void RunWithFixedTime(bool &fixedTime, double &storedUserTime, double userTime,
                                 const std::function<void()> &run);

    // Fills a report's title, input and result rows.
    void fillTextReport(TextReportForm &form, const QStringList &inputNames,
                        const QStringList &inputValues) const;

    Program &m_program;
    ProgramState &m_state;

private:
    // An arithmetic or I/O fault in a handler ends in the general error report.
    void runGuarded(const std::function<void()> &handler);

    std::vector<Row> m_rows;
    std::vector<QLabel *> m_labels;     // in table order
    std::vector<QLineEdit *> m_edits;   // in table order
    QPushButton *m_button1 = nullptr;
    QPushButton *m_button2 = nullptr;
    QLabel *m_formulas = nullptr;
    QString m_shownTime;     // the text of Edit7 that has been dealt with
    QString m_refusedText;   // the last text of Edit7 refused with a message
    bool m_refused = false;  // whether m_refusedText holds one
};

class TForm5 : public TextResultsForm {
    Q_OBJECT
public:
    explicit TForm5(Program &program, QWidget *parent = nullptr);

protected:
    QString caption() const override;
    std::vector<double> resultValues() const override;
    double storedHeatingTime() const override;
    bool classicResults() const override;
    void rerun(double userTime) override;
    const report::ReportForm *fillReport() override;
};

// The caption that marks results of the classic formulas.
QString ClassicFormulasCaption();

// Shared texts: the labels of the table, which the report repeats.
QStringList ResultNamesXY();
QStringList InputNamesXY();
// The material name as the report prints it (one byte a character).
QString MaterialText(const MaterialName &name);

} // namespace resheat::ui
