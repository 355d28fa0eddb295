// What the two input data dialogs share: the window, the three columns of
// labelled boxes, the material combo box with its presets, the OK and
// Cancel buttons, and bringing the main window back when they go.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "core/Records.h"
#include "ui/Program.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace resheat::ui {

// The material name as the record holds it: at most 12 one-byte
// characters; a character outside Latin-1 is stored as '?'.
MaterialName MaterialNameFromText(const QString &text);
template <std::size_t Capacity>
QString MaterialNameText(const ShortText<Capacity> &name)
{
    const std::string bytes = name.str();
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

class DataDialog : public QWidget {
    Q_OBJECT
public:
    QLabel *Label1;       // "Material"
    QComboBox *ComboBox1; // material, editable
    QPushButton *Button1; // OK
    QPushButton *Button2; // Cancel

    // Appends the preset names to the combo box list.
    void FillMaterialList();
    // A preset picked by name fills the six material property boxes.
    void ComboBox1Change();

    virtual void Button1Click() = 0;
    virtual void Button2Click() = 0;

protected:
    explicit DataDialog(Program &program);

    // A label and its box at a place of the three-column grid (from 1).
    QLineEdit *addBox(int column, int row, const char *editName, const char *labelName, QLabel *&label);
    // Tab order: OK, Cancel, the boxes in the order given, the combo box.
    void setTabChain(const std::vector<QLineEdit *> &boxes);
    // The boxes a preset fills: density, specific heat, heat conductivity,
    // resistivity, finish temperature, alfa coefficient.
    void setPresetBoxes(const std::array<QLineEdit *, 6> &boxes) { presetBoxes_ = boxes; }

    // Caption, button captions and position of every showing.
    void showCommon(const QString &caption);
    // Fills the list if needed and puts the name into the combo box.
    void showMaterialName(const MaterialName &name);
    // Parses every box in order into `values`; the first box that holds no
    // number gets the message and ends the parse.
    bool parseBoxes(const std::vector<QLineEdit *> &boxes, std::vector<double> &values);
    void inputError(const QString &text);

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // Enter presses OK (or the button that has the focus), Escape Cancel.
    void keyPressEvent(QKeyEvent *event) override;
    virtual void FormShow() = 0;
    void FormHide();

    Program &program_;

private:
    std::array<QLineEdit *, 6> presetBoxes_{};
};

} // namespace resheat::ui
