#include "ui/u5.h"

#include "ui/CalculationRun.h"
#include "ui/Desktop.h"
#include "ui/ErrorReport.h"
#include "ui/NumberFormat.h"
#include "ui/Program.h"
#include "ui/u1.h"
#include "ui/u8.h"
#include "ui/WindowPlacement.h"

#include <QFocusEvent>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <cmath>

namespace resheat::ui {

namespace {

// Window layout in pixels.
constexpr int kWidth = 696;
constexpr int kHeight = 562;
constexpr int kColumnLeft[2] = {24, 360};
constexpr int kColumnWidth = 300;
constexpr int kFirstRowTop = 16;
constexpr int kRowPitch = 62;
constexpr int kLabelHeight = 17;
constexpr int kBoxGap = 19;          // from a label's top to its box's top
constexpr int kBoxHeight = 24;
constexpr int kButtonWidth = 241;
constexpr int kButtonHeight = 30;
constexpr int kCloseTop = 430;
// "Classic formulas", left of the Close button.
constexpr QRect kFormulas{24, 436, 190, 17};
constexpr int kPrintTop = 476;

// Leaving the heating time box re-runs only for a time this far (seconds)
// from the stored one.
constexpr double kTimeTolerance = 0.02;

// The heating time box: it keeps the caret where the user puts it instead
// of selecting its text on entry, and reports when it loses the focus to
// another control of its window.
class HeatingTimeEdit : public QLineEdit {
public:
    explicit HeatingTimeEdit(QWidget *parent, std::function<void()> onExit)
        : QLineEdit(parent), m_onExit(std::move(onExit))
    {
    }

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        QLineEdit::focusInEvent(event);
        deselect();
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        QLineEdit::focusOutEvent(event);
        // Switching to another window or opening a popup is no exit.
        if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
            m_onExit();
    }

private:
    std::function<void()> m_onExit;
};

// The labels are padded with blanks so that the units line up; a fixed
// pitch font keeps them aligned.
QFont LabelFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(13);
    return font;
}

} // namespace

QString MaterialText(const MaterialName &name)
{
    const std::string text = name.str();
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

TextResultsForm::TextResultsForm(Program &program, std::vector<Row> rows, QWidget *parent)
    : QDialog(parent), m_program(program), m_state(program.state), m_rows(std::move(rows))
{
    setFixedSize(kWidth, kHeight);
    setModal(false);
    setSizeGripEnabled(false);

    const QFont labelFont = LabelFont();
    QWidget *previous = nullptr;
    for (const Row &row : m_rows) {
        const int left = kColumnLeft[row.column];
        const int top = kFirstRowTop + row.row * kRowPitch;

        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label%1").arg(row.edit));
        label->setFont(labelFont);
        const int right = row.column == 0 ? kColumnLeft[1] : kWidth;
        label->setGeometry(left, top, right - left - 8, kLabelHeight);

        QLineEdit *box = nullptr;
        if (row.edit == 7) {
            box = new HeatingTimeEdit(this, [this] { runGuarded([this] { Edit7Exit(); }); });
        } else {
            // Read-only, not disabled: the value can be selected and copied.
            // The window's background marks the boxes that take no input.
            box = new QLineEdit(this);
            box->setReadOnly(true);
            QPalette palette = box->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::Window));
            box->setPalette(palette);
        }
        box->setObjectName(QStringLiteral("Edit%1").arg(row.edit));
        box->setGeometry(left, top + kBoxGap, kColumnWidth, kBoxHeight);
        label->setBuddy(box);

        if (previous)
            setTabOrder(previous, box);
        previous = box;
        m_labels.push_back(label);
        m_edits.push_back(box);
    }

    const int buttonLeft = (kWidth - kButtonWidth) / 2;
    m_button1 = new QPushButton(this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setGeometry(buttonLeft, kCloseTop, kButtonWidth, kButtonHeight);
    m_button1->setDefault(true);
    m_button2 = new QPushButton(this);
    m_button2->setObjectName(QStringLiteral("Button2"));
    m_button2->setGeometry(buttonLeft, kPrintTop, kButtonWidth, kButtonHeight);
    m_button2->setAutoDefault(false);
    if (previous)
        setTabOrder(previous, m_button1);
    setTabOrder(m_button1, m_button2);

    m_formulas = new QLabel(this);
    m_formulas->setObjectName(QStringLiteral("Label13"));
    m_formulas->setGeometry(kFormulas);
    QFont formulasFont = m_formulas->font();
    formulasFont.setBold(true);
    m_formulas->setFont(formulasFont);
    m_formulas->hide();

    connect(m_button1, &QPushButton::clicked, this, [this] { runGuarded([this] { Button1Click(); }); });
    connect(m_button2, &QPushButton::clicked, this, [this] { runGuarded([this] { Button2Click(); }); });
}

QLineEdit *TextResultsForm::edit(int number) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].edit == number)
            return m_edits[i];
    return nullptr;
}

QLabel *TextResultsForm::label(int number) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].edit == number)
            return m_labels[i];
    return nullptr;
}

void TextResultsForm::runGuarded(const std::function<void()> &handler)
{
    RunGuarded(m_program.desktop, handler);
}

void TextResultsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TextResultsForm::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TextResultsForm::FormShow()
{
    PlaceWindowFrame(*this, QPoint(20, 20));
    setWindowTitle(caption());
    // Alt and the underlined letter: H the heating time box, C Close, P Print.
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        m_labels[i]->setText(m_rows[i].edit == 7 ? QLatin1Char('&') + m_rows[i].caption : m_rows[i].caption);
    m_button1->setText(QStringLiteral("&Close"));
    m_button2->setText(QStringLiteral("&Print results"));
    m_formulas->setText(ClassicFormulasCaption());
    showValues();
    m_refused = false;
    // The keyboard starts in the one box that takes a value.
    if (QLineEdit *time = edit(7))
        time->setFocus(Qt::OtherFocusReason);
}

void TextResultsForm::showValues()
{
    m_formulas->setVisible(classicResults());
    const std::vector<double> values = resultValues();
    for (std::size_t i = 0; i < m_rows.size() && i < values.size(); ++i) {
        m_edits[i]->setText(FormatGeneral(values[i], m_rows[i].digits));
        m_edits[i]->setCursorPosition(0);
    }
    if (QLineEdit *time = edit(7))
        m_shownTime = time->text();
}

void TextResultsForm::FormHide()
{
    if (QWidget *mainWindow = m_program.windows.Form1)
        mainWindow->show();
}

void TextResultsForm::Button1Click()
{
    // A time typed into the heating time box and not yet dealt with (Enter
    // pressed in the box presses Close while the box still has the focus)
    // is run before the window hides, as if the box had been left first.
    // A text refused now keeps the window open so that the user can correct
    // it; one already refused with a message is dropped.
    if (QLineEdit *time = edit(7)) {
        const QString text = time->text();
        const bool alreadyRefused = m_refused && m_refusedText == text;
        if (text != m_shownTime && !alreadyRefused) {
            Edit7Exit();
            if (m_refused && m_refusedText == text)
                return;
        }
    }
    hide();
}

void TextResultsForm::Button2Click()
{
    if (const report::ReportForm *form = fillReport())
        m_program.desktop.previewReport(*form);
}

void TextResultsForm::Edit7Exit()
{
    QLineEdit *box = edit(7);
    if (!box)
        return;
    // The box still holds what this window put into it, or a time already
    // dealt with: nothing is recomputed (the shown text is rounded and
    // would otherwise replace the stored time; a time already run needs no
    // second run when the run stored an earlier one).
    const QString text = box->text();
    if (text == m_shownTime)
        return;
    // A refused text goes back to the time in use, so that the box never
    // shows a time the values beside it are not for.
    auto refuse = [this, box, &text](const QString &message) {
        m_refused = true;
        m_refusedText = text;
        m_program.desktop.messageBox(QStringLiteral("Input Error"), message);
        box->setText(m_shownTime);
        box->setCursorPosition(0);
    };
    double time = 0;
    if (!ParseRegionalNumber(text, time)) {
        refuse(QStringLiteral("Incorrect numerical format"));
        return;
    }
    if (std::fabs(time - storedHeatingTime()) <= kTimeTolerance) {
        m_shownTime = text;
        return;
    }
    // A heating time of zero or less has no meaning; the series would turn
    // it into absurd temperatures.
    if (time <= 0) {
        refuse(QStringLiteral("Heating time must be greater than 0"));
        return;
    }
    // The window shows what the run computed at once, the heating time as
    // the run stored it (an earlier one where the centre reached the
    // finish temperature before the time typed); after a fault that
    // abandoned the run, what the records hold.
    struct ShowAfterwards {
        TextResultsForm &window;
        ~ShowAfterwards() { window.showValues(); }
    } showAfterwards{*this};
    m_shownTime = text;
    rerun(time);
}

void TextResultsForm::fillTextReport(TextReportForm &form, const QStringList &inputNames,
                                     const QStringList &inputValues) const
{
    form.title().caption = caption();
    form.formulas().caption = classicResults() ? ClassicFormulasCaption() : QString();
    for (int i = 0; i < form.inputCount(); ++i) {
        form.inputName(i).caption = inputNames.value(i);
        form.inputValue(i).caption = inputValues.value(i);
    }
    const std::vector<double> values = resultValues();
    for (int i = 0; i < form.resultCount(); ++i) {
        const Row &row = m_rows[static_cast<std::size_t>(i)];
        form.resultName(i).caption = row.caption;
        form.resultValue(i).caption = FormatGeneral(values[static_cast<std::size_t>(i)], row.digits);
    }
}

QString ClassicFormulasCaption()
{
    return QStringLiteral("Classic formulas");
}

// The xy window.

QStringList ResultNamesXY()
{
    return {
        QStringLiteral("Charge mass           [kg]"),
        QStringLiteral("Charge resistance     [om]"),
        QStringLiteral("Real voltage supply    [V]"),
        QStringLiteral("Current intesity       [A]"),
        QStringLiteral("Applied power          [W]"),
        QStringLiteral("Vol. power density  [W/m3]"),
        QStringLiteral("Heating time           [s]"),
        QStringLiteral("Number of contact      [-]"),
        QStringLiteral("Biot number (width)       "),
        QStringLiteral("Biot number (height)      "),
        QStringLiteral("Temp. difference: centre - width   [K]"),
        QStringLiteral("Temp. difference: centre - height  [K]"),
    };
}

QStringList InputNamesXY()
{
    return {
        QStringLiteral("Material"),
        QStringLiteral("Length of charge       [m]"),
        QStringLiteral("Width of charge        [m]"),
        QStringLiteral("Thickness of charge    [m]"),
        QStringLiteral("Density            [kg/m3]"),
        QStringLiteral("Specific heat   [Ws/(kgK)]"),
        QStringLiteral("Heat conductivity [W/(mK)]"),
        QStringLiteral("Resistivity         [om*m]"),
        QStringLiteral("Supply voltage         [V]"),
        QStringLiteral("Voltage drop           [%]"),
        QStringLiteral("Start temperature     [oC]"),
        QStringLiteral("Finish temperature    [oC]"),
        QStringLiteral("Alfa coefficient [W/(m2K)]"),
        QStringLiteral("Max contact current    [A]"),
    };
}

void TextResultsForm::RunWithFixedTime(bool &fixedTime, double &storedUserTime, double userTime,
                                       const std::function<void()> &run)
{
    fixedTime = true;
    storedUserTime = userTime;
    struct SwitchOff {
        bool &on;
        ~SwitchOff() { on = false; }
    } switchOff{fixedTime};
    run();
}

namespace {

std::vector<TextResultsForm::Row> RowsXY()
{
    const QStringList names = ResultNamesXY();
    std::vector<TextResultsForm::Row> rows;
    for (int i = 0; i < 12; ++i)
        rows.push_back({i + 1, names[i], i == 0 ? 5 : 4, i / 6, i % 6});
    return rows;
}

} // namespace

TForm5::TForm5(Program &program, QWidget *parent) : TextResultsForm(program, RowsXY(), parent)
{
    setObjectName(QStringLiteral("Form5"));
}

QString TForm5::caption() const
{
    return QStringLiteral("Text results for xy");
}

std::vector<double> TForm5::resultValues() const
{
    std::vector<double> values;
    for (auto field : kResultsXYNumbers)
        values.push_back(m_state.resultsXY.*field);
    return values;
}

double TForm5::storedHeatingTime() const
{
    return m_state.resultsXY.heatingTime;
}

bool TForm5::classicResults() const
{
    return m_state.classicResultsXY;
}

void TForm5::rerun(double userTime)
{
    RunWithFixedTime(m_state.fixedTimeXY, m_state.userTimeXY, userTime,
                     [this] { RunCalculationXY(m_program); });
}

const report::ReportForm *TForm5::fillReport()
{
    TForm8 *form = m_program.windows.Form8;
    if (!form)
        return nullptr;
    QStringList values{MaterialText(m_state.dataXY.name)};
    for (auto field : kDataXYNumbers)
        values << FormatGeneral(m_state.dataXY.*field, 15);
    fillTextReport(*form, InputNamesXY(), values);
    return form;
}

} // namespace resheat::ui
