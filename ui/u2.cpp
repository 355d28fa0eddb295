#include "ui/u2.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "ui/NumberFormat.h"
#include "ui/u1.h"

namespace resheat::ui {

TForm2::TForm2(Program &program) : DataDialog(program)
{
    setObjectName(QStringLiteral("Form2"));
    Edit2 = addBox(1, 2, "Edit2", "Label2", Label2);
    Edit3 = addBox(1, 3, "Edit3", "Label3", Label3);
    Edit4 = addBox(1, 4, "Edit4", "Label4", Label4);
    Edit5 = addBox(1, 5, "Edit5", "Label5", Label5);
    Edit6 = addBox(2, 1, "Edit6", "Label6", Label6);
    Edit7 = addBox(2, 2, "Edit7", "Label7", Label7);
    Edit8 = addBox(2, 3, "Edit8", "Label8", Label8);
    Edit9 = addBox(2, 4, "Edit9", "Label9", Label9);
    Edit10 = addBox(2, 5, "Edit10", "Label10", Label10);
    Edit11 = addBox(3, 1, "Edit11", "Label11", Label11);
    Edit12 = addBox(3, 2, "Edit12", "Label12", Label12);
    Edit13 = addBox(3, 3, "Edit13", "Label13", Label13);
    Edit14 = addBox(3, 4, "Edit14", "Label14", Label14);
    setTabChain(boxes());
    setPresetBoxes({Edit5, Edit6, Edit7, Edit8, Edit12, Edit13});
}

std::vector<QLineEdit *> TForm2::boxes() const
{
    return {Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10, Edit11, Edit12, Edit13, Edit14};
}

void TForm2::FormShow()
{
    showCommon(QStringLiteral("Data for xy geometry"));
    Label2->setText(QStringLiteral("Length of charge       [m]"));
    Label3->setText(QStringLiteral("Width of charge        [m]"));
    Label4->setText(QStringLiteral("Thickness of charge    [m]"));
    Label5->setText(QStringLiteral("Density            [kg/m3]"));
    Label6->setText(QStringLiteral("Specific heat   [Ws/(kgK)]"));
    Label7->setText(QStringLiteral("Heat conductivity [W/(mK)]"));
    Label8->setText(QStringLiteral("Resistivity         [om*m]"));
    Label9->setText(QStringLiteral("Supply voltage         [V]"));
    Label10->setText(QStringLiteral("Voltage drop           [%]"));
    Label11->setText(QStringLiteral("Start temperature     [oC]"));
    Label12->setText(QStringLiteral("Finish temperature    [oC]"));
    Label13->setText(QStringLiteral("Alfa coefficient [W/(m2K)]"));
    Label14->setText(QStringLiteral("Max contact current    [A]"));
    ShowCaseData(program_.state.dataXY);
}

void TForm2::ShowCaseData(const DataXY &record)
{
    showMaterialName(record.name);
    const auto edits = boxes();
    for (std::size_t i = 0; i < edits.size(); ++i)
        edits[i]->setText(FormatGeneral(record.*kDataXYNumbers[i], 15));
}

void TForm2::Button1Click()
{
    DataXY copy = program_.state.dataXY;
    copy.name = MaterialNameFromText(ComboBox1->currentText());
    std::vector<double> values;
    if (!parseBoxes(boxes(), values))
        return;
    for (std::size_t i = 0; i < values.size(); ++i)
        copy.*kDataXYNumbers[i] = values[i];

    // The charge must be long and slender: a tenth of its length (taken in
    // extended precision) strictly above the thickness and the width.
    const long double tenth = static_cast<long double>(copy.length) / 10;
    if (!(tenth > copy.thickness) || !(tenth > copy.width)) {
        inputError(QStringLiteral("Bad relations length : width, thickness"));
        inputError(QStringLiteral("Length must be >= 10 * width or thickness"));
        return;
    }
    hide();
    if (TForm1 *main = program_.windows.Form1)
        main->show();
    program_.state.dataXY = copy;
    if (TForm1 *main = program_.windows.Form1)
        main->UpdateMenuState();
}

void TForm2::Button2Click()
{
    ShowCaseData(program_.state.dataXY);
    hide();
    if (TForm1 *main = program_.windows.Form1)
        main->show();
}

} // namespace resheat::ui
