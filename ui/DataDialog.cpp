#include "ui/DataDialog.h"

#include <QComboBox>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <string>

#include "ui/ErrorReport.h"
#include "ui/NumberFormat.h"
#include "ui/u1.h"
#include "ui/WindowPlacement.h"

namespace resheat::ui {

namespace {

constexpr int kColumnLeft[] = {24, 256, 488};
constexpr int kColumnWidth = 185;
constexpr int kFirstRowTop = 16;
constexpr int kRowPitch = 72;
constexpr int kBoxBelowLabel = 18;
constexpr int kBoxHeight = 24;
constexpr std::size_t kNameCapacity = 12;

} // namespace

MaterialName MaterialNameFromText(const QString &text)
{
    std::string bytes;
    for (char32_t code : text.toUcs4()) {
        if (bytes.size() == kNameCapacity)
            break;
        bytes.push_back(code <= 0xFF ? static_cast<char>(static_cast<unsigned char>(code)) : '?');
    }
    MaterialName name;
    name.set(bytes);
    return name;
}

DataDialog::DataDialog(Program &program) : QWidget(nullptr, Qt::Window), program_(program)
{
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(13);
    setFont(font);
    resize(688, 489);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(kColumnLeft[0], kFirstRowTop, kColumnWidth, kBoxBelowLabel);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    // The list holds the presets only; a typed name is not added to it and
    // is not completed into a preset name.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setCompleter(nullptr);
    ComboBox1->setGeometry(kColumnLeft[0], kFirstRowTop + kBoxBelowLabel, kColumnWidth, kBoxHeight);
    // Leaving the box or pressing Enter would select the entry whose name
    // was typed and so fill the boxes although the text did not change:
    // only a changed text or an entry picked from the list fills.
    if (ComboBox1->metaObject()->indexOfSlot("_q_editingFinished()") >= 0)
        QObject::disconnect(ComboBox1->lineEdit(), SIGNAL(editingFinished()), ComboBox1, SLOT(_q_editingFinished()));
    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            [this] { RunGuarded(program_.desktop, [this] { ComboBox1Change(); }); });
    // Picking the entry already selected fills again, too.
    connect(ComboBox1, &QComboBox::activated, this,
            [this] { RunGuarded(program_.desktop, [this] { ComboBox1Change(); }); });
    connect(ComboBox1, &QComboBox::editTextChanged, this,
            [this] { RunGuarded(program_.desktop, [this] { ComboBox1Change(); }); });

    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(kColumnLeft[2], 392, kColumnWidth, 30);
    // Drawn as the button Enter presses.
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { RunGuarded(program_.desktop, [this] { Button1Click(); }); });
    Button2 = new QPushButton(this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(kColumnLeft[2], 432, kColumnWidth, 30);
    connect(Button2, &QPushButton::clicked, this, [this] { RunGuarded(program_.desktop, [this] { Button2Click(); }); });
}

QLineEdit *DataDialog::addBox(int column, int row, const char *editName, const char *labelName, QLabel *&label)
{
    const int left = kColumnLeft[column - 1];
    const int top = kFirstRowTop + (row - 1) * kRowPitch;
    label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(labelName));
    label->setGeometry(left, top, kColumnWidth, kBoxBelowLabel);
    auto *box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(editName));
    box->setGeometry(left, top + kBoxBelowLabel, kColumnWidth, kBoxHeight);
    return box;
}

void DataDialog::setTabChain(const std::vector<QLineEdit *> &boxes)
{
    QWidget *previous = Button2;
    setTabOrder(Button1, Button2);
    for (QLineEdit *box : boxes) {
        setTabOrder(previous, box);
        previous = box;
    }
    setTabOrder(previous, ComboBox1);
}

void DataDialog::FillMaterialList()
{
    for (const MaterialPreset &preset : program_.state.presets)
        ComboBox1->addItem(MaterialNameText(preset.name));
}

// Typed or picked: the selected list entry fills the boxes only while the
// text is exactly its name, so a typed name that is no preset fills nothing.
void DataDialog::ComboBox1Change()
{
    const int i = ComboBox1->currentIndex();
    if (i < 0 || i >= static_cast<int>(program_.state.presets.size()))
        return;
    const MaterialPreset &preset = program_.state.presets[static_cast<std::size_t>(i)];
    if (ComboBox1->currentText() != MaterialNameText(preset.name))
        return;
    const double values[6] = {preset.density, preset.specificHeat, preset.conductivity,
                              preset.resistivity, preset.finishTemp, preset.alfa};
    for (std::size_t k = 0; k < presetBoxes_.size(); ++k)
        presetBoxes_[k]->setText(FormatGeneral(values[k], 15));
}

void DataDialog::showCommon(const QString &caption)
{
    PlaceWindowFrame(*this, QPoint(20, 20));
    setWindowTitle(caption);
    // Enter and Escape press them too.
    Button1->setText(QStringLiteral("&OK"));
    Button2->setText(QStringLiteral("&Cancel"));
    Label1->setText(QStringLiteral("Material"));
    // The first showing starts at the head of the tab order; later ones
    // keep the box the user left.
    if (!focusWidget())
        Button1->setFocus();
}

void DataDialog::showMaterialName(const MaterialName &name)
{
    // Putting the record into the controls is no user change: no preset fill.
    const QSignalBlocker blocker(ComboBox1);
    if (ComboBox1->count() < 2) {
        FillMaterialList();
        ComboBox1->setCurrentIndex(-1);
    }
    ComboBox1->setEditText(MaterialNameText(name));
}

void DataDialog::inputError(const QString &text)
{
    program_.desktop.messageBox(QStringLiteral("Input Error"), text);
}

bool DataDialog::parseBoxes(const std::vector<QLineEdit *> &boxes, std::vector<double> &values)
{
    values.clear();
    for (QLineEdit *box : boxes) {
        double value = 0;
        if (!ParseRegionalNumber(box->text(), value)) {
            inputError(QStringLiteral("Incorrect numerical format"));
            return false;
        }
        values.push_back(value);
    }
    return true;
}

void DataDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        RunGuarded(program_.desktop, [this] { FormShow(); });
    QWidget::showEvent(event);
}

void DataDialog::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        FormHide();
    QWidget::hideEvent(event);
}

void DataDialog::keyPressEvent(QKeyEvent *event)
{
    // The boxes leave these keys unused, so they arrive here from anywhere
    // in the dialog; an open material list takes them itself.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const int key = event->key();
    if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        (focusWidget() == Button2 ? Button2 : Button1)->click();
        return;
    }
    if (plain && key == Qt::Key_Escape) {
        Button2->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void DataDialog::FormHide()
{
    // Closing with the close box hides the dialog too and ends up here.
    if (TForm1 *main = program_.windows.Form1)
        main->show();
}

} // namespace resheat::ui
